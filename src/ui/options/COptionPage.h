#pragma once

#include <QWidget>

// A page of the options sheet. The sheet initialises a page when it is first shown and, on
// OK or Apply, commits every page that has been initialised, in page order. A page reports
// itself changed to enable the sheet's Apply button.
class COptionPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Runs InitPage once.
    void Initialise();
    bool initialised() const { return initialised_; }

    // Applies what the page shows.
    virtual void Commit() = 0;
    // Ends an edit still open on the page before the sheet commits; false when what it
    // held was refused (the page has told the user why) and the sheet should stay open.
    virtual bool FinishEditing() { return true; }

    void SetModified(bool modified);
    bool modified() const { return modified_; }

signals:
    void modifiedChanged(bool modified);

protected:
    virtual void InitPage() = 0;

private:
    bool initialised_ = false;
    bool modified_ = false;
};
