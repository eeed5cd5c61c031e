#pragma once

#include <QLabel>

#include <cstdint>

// A sample of a colour pair: its text in the text colour on the background colour, in the
// default GUI font. Starts as window text on button face.
class CColorLabel : public QLabel {
    Q_OBJECT
public:
    explicit CColorLabel(const QString& text = QString(), QWidget* parent = nullptr);

    // Sets the text colour (0x00BBGGRR) and repaints at once.
    void SetForeColor(std::uint32_t color);
    // Sets the background colour; shown at the next repaint.
    void SetBackColor(std::uint32_t color);
    std::uint32_t foreColor() const { return fore_; }
    std::uint32_t backColor() const { return back_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint32_t fore_;
    std::uint32_t back_;
};
