#pragma once

#include <QDate>
#include <QDialog>

class QDateEdit;

// "日付へ移動": asks for the date to bring the event list to.
class CGoToDateDialog : public QDialog {
    Q_OBJECT
public:
    CGoToDateDialog(const QDate& initial, QWidget* parent = nullptr);

    QDate date() const;

private:
    QDateEdit* picker_;
};
