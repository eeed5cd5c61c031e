#pragma once

#include <QDialog>

// The about box (32774): the program icon, its name and version, OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
