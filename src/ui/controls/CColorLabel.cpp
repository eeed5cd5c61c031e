#include "ui/controls/CColorLabel.h"

#include <QPaintEvent>
#include <QPainter>

#include "ui/controls/Colors.h"

CColorLabel::CColorLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent),
      fore_(FromQColor(palette().color(QPalette::WindowText))),
      back_(FromQColor(palette().color(QPalette::Button))) {}

void CColorLabel::SetForeColor(std::uint32_t color) {
    fore_ = color;
    repaint();
}

void CColorLabel::SetBackColor(std::uint32_t color) {
    // Callers set the text colour next, which repaints.
    back_ = color;
}

void CColorLabel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(back_));
    painter.setPen(ToQColor(fore_));
    painter.setFont(font());
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const int flags = static_cast<int>(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
    painter.drawText(area, flags, text());
    event->accept();
}
