#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <map>

#include "stats/GraphLayout.h"

// A bar graph in the manner of a segmented level meter: every bar a column of equal
// cells, lit cells in the lit colour and the others in the unlit colour on the background,
// with a label under each bar. The layout and scale follow the widget's size at every
// paint; nothing is cached between paints.
class CGraphCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CGraphCtrl(QWidget* parent = nullptr);

    // Margins, gaps and cells per bar.
    void SetGraphGeometry(const GraphGeometry& geometry);
    // Bar i shows the value at key i and carries the label at key i (keys 0 to n - 1).
    void SetValues(std::map<std::int32_t, std::int32_t> values);
    void SetLabels(std::map<std::int32_t, QString> labels);
    // Colours as 0x00BBGGRR.
    void SetColors(std::uint32_t back, std::uint32_t lit, std::uint32_t unlit);

    const std::map<std::int32_t, std::int32_t>& values() const { return values_; }
    const std::map<std::int32_t, QString>& labels() const { return labels_; }

    // The layout a paint at the present size uses.
    GraphLayout Layout() const;
    // Height of the label text as the layout counts it: the widget's own font, not the
    // smaller font the labels are drawn in.
    int TextHeight() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Draw(QPainter& painter) const;

    GraphGeometry geometry_;
    std::map<std::int32_t, std::int32_t> values_;
    std::map<std::int32_t, QString> labels_;
    std::uint32_t backColor_;
    std::uint32_t litColor_;
    std::uint32_t unlitColor_;
};
