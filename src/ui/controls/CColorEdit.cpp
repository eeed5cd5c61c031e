#include "ui/controls/CColorEdit.h"

#include <QRegularExpression>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "ui/controls/Colors.h"
#include "ui/controls/Prompts.h"

namespace {

// Web addresses only; the characters an address may hold in plain ASCII, so that an
// address followed directly by Japanese text ends where the text starts.
const QRegularExpression& AddressPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("(?:https?://|ftp://|mailto:)[A-Za-z0-9\\-._~:/?#\\[\\]@!$&'()*+,;=%]+"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// Punctuation that ends a sentence rather than the address.
qsizetype TrimmedLength(const QString& address) {
    static const QString trailing = QStringLiteral(".,;:!?'\")]");
    qsizetype length = address.size();
    while (length > 0 && trailing.contains(address[length - 1])) {
        --length;
    }
    return length;
}

bool IsWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                             scheme == QLatin1String("ftp") || scheme == QLatin1String("mailto"));
}

// A mail address only: parameters such as attach= or body= are dropped, so that a link
// can never make the mail program attach a file or fill in a message.
QUrl LinkTarget(QUrl url) {
    if (url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0) {
        url.setQuery(QString());
        url.setFragment(QString());
    }
    return url;
}

}  // namespace

CColorEdit::CColorEdit(Prompts& prompts, QWidget* parent)
    : QTextBrowser(parent),
      prompts_(prompts),
      fore_(FromQColor(palette().color(QPalette::WindowText))),
      back_(FromQColor(palette().color(QPalette::Button))) {
    // Links are ours to open: the browser never follows them itself.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    // Selectable by keyboard too, so that a click leaves a caret.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard |
                            Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QTextEdit::WidgetWidth);
    document()->setUndoRedoEnabled(false);
    setAutoFillBackground(true);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (IsWebAddress(url)) {
            prompts_.OpenUrl(LinkTarget(url));
        }
    });
    SetBackColor(back_);
    SetForeColor(fore_);
}

void CColorEdit::SetEventText(const QString& eventText) {
    // One character per line break, so that positions in the text are positions in the
    // document.
    QString text = eventText;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // A fresh format for every text: one left at the caret (the previous event's link)
    // would otherwise carry into the new text.
    setCurrentCharFormat(QTextCharFormat());
    setPlainText(text);
    QTextCursor whole(document());
    whole.select(QTextCursor::Document);
    whole.setCharFormat(QTextCharFormat());
    QTextCharFormat link;
    link.setAnchor(true);
    link.setFontUnderline(true);
    link.setForeground(palette().brush(QPalette::Link));
    QRegularExpressionMatchIterator it = AddressPattern().globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QString address = match.captured().left(TrimmedLength(match.captured()));
        const QUrl url = LinkTarget(QUrl(address, QUrl::StrictMode));
        if (!IsWebAddress(url)) {
            continue;
        }
        link.setAnchorHref(url.toString(QUrl::FullyEncoded));
        QTextCursor cursor(document());
        cursor.setPosition(static_cast<int>(match.capturedStart()));
        cursor.setPosition(static_cast<int>(match.capturedStart() + address.size()),
                           QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(link);
    }
    moveCursor(QTextCursor::Start);
    verticalScrollBar()->setValue(0);
}

void CColorEdit::SetForeColor(std::uint32_t color) {
    fore_ = color;
    QPalette colors = palette();
    colors.setColor(QPalette::Text, ToQColor(color));
    setPalette(colors);
    viewport()->repaint();
}

void CColorEdit::SetBackColor(std::uint32_t color) {
    // Shown with the next repaint; callers set the text colour next.
    back_ = color;
    QPalette colors = palette();
    colors.setColor(QPalette::Base, ToQColor(color));
    colors.setColor(QPalette::Window, ToQColor(color));
    setPalette(colors);
}
