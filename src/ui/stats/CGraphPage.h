#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <map>
#include <string>

class CGraphCtrl;

// A graph page of the member sheet: a caption over a framed graph with the distribution
// geometry (margins 10, gaps 2 and 1, 50 cells) and the default colours.
class CGraphPage : public QWidget {
    Q_OBJECT
public:
    explicit CGraphPage(const QString& caption, QWidget* parent = nullptr);

    CGraphCtrl* graph() const { return graph_; }

protected:
    // Values of bars 0 to n - 1, and their labels as Shift-JIS.
    void SetBars(std::map<std::int32_t, std::int32_t> values,
                 const std::map<std::int32_t, std::string>& labels);

private:
    CGraphCtrl* graph_;
};
