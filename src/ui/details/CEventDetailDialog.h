#pragma once

#include <QDialog>

#include <cstdint>

class CColorEdit;
class CTalvoraView;
class MessageDatabase;
class Prompts;
class QGroupBox;
class QLineEdit;
class QPushButton;

// "イベントの詳細": one event of the list in full (direction, date, time, type, name, UIN
// and the whole text in the direction's colours). "上へ" and "下へ" step to the row above or
// below, moving the list's selection along and keeping the row where the first one stood
// on screen. Opened on the first selected row, with the list as parent.
//
// The live check runs in modal loops too and inserts new events at the top of the list,
// so the dialog holds the event it shows (its place in the member's references and its
// entry number) and works out the row from the list's current row count.
class CEventDetailDialog : public QDialog {
    Q_OBJECT
public:
    CEventDetailDialog(CTalvoraView& list, MessageDatabase& database, Prompts& prompts);

    // The list row of the event shown.
    int row() const;
    int pagePosition() const { return pagePosition_; }

    void StepUp();
    void StepDown();

private:
    QLineEdit* AddField(const QString& name);
    // Clamps `row` to the list, shows that row's event and sets the buttons.
    void ShowEvent(int row);
    // The row of the event shown, or -1 when the list no longer holds it.
    int TrackedRow() const;
    void Step(int delta);
    void UpdateButtons();

    CTalvoraView& list_;
    MessageDatabase& database_;
    int pagePosition_ = 1;
    std::int32_t index_ = -1;  // place of the event in the member's references
    std::int32_t entry_ = -1;  // its entry number, to find it again after a reload
    int lastRow_ = 0;          // the row shown, for a list that lost the event

    QGroupBox* group_ = nullptr;
    QLineEdit* date_ = nullptr;
    QLineEdit* time_ = nullptr;
    QLineEdit* type_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* uin_ = nullptr;
    CColorEdit* text_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QPushButton* close_ = nullptr;
};
