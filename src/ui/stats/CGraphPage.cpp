#include "ui/stats/CGraphPage.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "stats/DistributionGraph.h"
#include "text/ShiftJis.h"
#include "ui/stats/CGraphCtrl.h"

CGraphPage::CGraphPage(const QString& caption, QWidget* parent)
    : QWidget(parent), graph_(new CGraphCtrl) {
    auto* captionLabel = new QLabel(caption);
    captionLabel->setObjectName(QStringLiteral("graphCaption"));

    // A thin border around the black graph.
    auto* frame = new QFrame;
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(1, 1, 1, 1);
    frameLayout->addWidget(graph_);

    graph_->setObjectName(QStringLiteral("graph"));
    graph_->setMinimumSize(311, 206);
    graph_->SetGraphGeometry(DistributionGeometry());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(captionLabel);
    layout->addWidget(frame, 1);
}

void CGraphPage::SetBars(std::map<std::int32_t, std::int32_t> values,
                         const std::map<std::int32_t, std::string>& labels) {
    std::map<std::int32_t, QString> texts;
    for (const auto& [bar, label] : labels) {
        texts.emplace_hint(texts.end(), bar, FromShiftJis(label));
    }
    graph_->SetValues(std::move(values));
    graph_->SetLabels(std::move(texts));
}
