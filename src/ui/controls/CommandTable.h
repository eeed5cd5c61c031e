#pragma once

#include <QObject>

#include <map>

class QAction;

// One QAction per command identifier. Menu, toolbar and accelerator share the action, so
// one SetEnabled covers them all. Views are handed this table to enable or gray the
// commands whose state they decide (the list: save and find; the tree: rename and
// properties); the application connects the actions to its handlers.
class CommandTable : public QObject {
    Q_OBJECT
public:
    explicit CommandTable(QObject* parent = nullptr);

    // Creates every command with its text, accelerator, status prompt and tooltip, and its
    // initial enabled state.
    void CreateActions(QWidget* owner);

    QAction* Action(int id) const;
    void SetEnabled(int id, bool on);
    bool IsEnabled(int id) const;

private:
    std::map<int, QAction*> actions_;
};
