#pragma once

#include <QTextBrowser>

#include <cstdint>

class Prompts;

// The read-only text box of the event details: the text in the direction's colours, web
// addresses (http, https, ftp, mailto) shown as links that open in the desktop's browser
// through Prompts::OpenUrl; nothing else is ever handed to the system. An ordinary click
// places the caret; text can be selected and copied. The whole text is shown.
class CColorEdit : public QTextBrowser {
    Q_OBJECT
public:
    explicit CColorEdit(Prompts& prompts, QWidget* parent = nullptr);

    // Shows `text` (plain text; addresses become links).
    void SetEventText(const QString& text);
    // Sets the text colour (0x00BBGGRR) and repaints at once.
    void SetForeColor(std::uint32_t color);
    // Sets the background colour; shown at the next repaint.
    void SetBackColor(std::uint32_t color);
    std::uint32_t foreColor() const { return fore_; }
    std::uint32_t backColor() const { return back_; }

private:
    Prompts& prompts_;
    std::uint32_t fore_;
    std::uint32_t back_;
};
