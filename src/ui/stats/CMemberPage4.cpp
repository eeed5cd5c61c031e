#include "ui/stats/CMemberPage4.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "stats/MemberStats.h"
#include "ui/stats/CTimelineCtrl.h"
#include "ui/stats/CTimelineScale.h"
#include "ui/stats/MemberSheetTexts.h"

namespace {

// The minimum height of the other graph pages' graph.
constexpr int kGraphMinimumHeight = 206;

QString LegendEntry(const QColor& color, const char* text) {
    return QStringLiteral("<span style=\"color:%1\">&#x25A0;</span>%2")
        .arg(color.name(), QString::fromUtf8(text));
}

}  // namespace

CMemberPage4::CMemberPage4(QWidget* parent)
    : QWidget(parent),
      graph_(new CTimelineCtrl),
      scale_(new CTimelineScale(graph_)),
      scroll_(new QScrollArea) {
    setObjectName(QStringLiteral("timelinePage"));
    auto* captionLabel = new QLabel(QString::fromUtf8(membertext::kTimelineCaption));
    captionLabel->setObjectName(QStringLiteral("graphCaption"));
    auto* legend =
        new QLabel(LegendEntry(CTimelineCtrl::kSentColor, membertext::kSentLegend) +
                   QStringLiteral("&nbsp;&nbsp;") +
                   LegendEntry(CTimelineCtrl::kReceivedColor, membertext::kReceivedLegend));
    legend->setObjectName(QStringLiteral("legend"));
    legend->setTextFormat(Qt::RichText);
    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(captionLabel);
    captionRow->addStretch(1);
    captionRow->addWidget(legend);

    graph_->setObjectName(QStringLiteral("timeline"));
    scale_->setObjectName(QStringLiteral("timelineScale"));
    scroll_->setObjectName(QStringLiteral("timelineScroll"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->setMinimumHeight(kGraphMinimumHeight);
    scroll_->setWidget(graph_);

    // A thin border around the black graph and its scale, as on the other graph pages.
    auto* frame = new QFrame;
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
    auto* frameLayout = new QHBoxLayout(frame);
    frameLayout->setContentsMargins(1, 1, 1, 1);
    frameLayout->setSpacing(0);
    frameLayout->addWidget(scale_);
    frameLayout->addWidget(scroll_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(captionRow);
    layout->addWidget(frame, 1);

    QScrollBar* scrollBar = scroll_->horizontalScrollBar();
    connect(scrollBar, &QScrollBar::rangeChanged, this, [this, scrollBar](int, int maximum) {
        if (atNewest_) {
            scrollBar->setValue(maximum);
        }
    });
    connect(scrollBar, &QScrollBar::valueChanged, this,
            [this, scrollBar](int value) { atNewest_ = value == scrollBar->maximum(); });
    connect(graph_, &CTimelineCtrl::monthActivated, this, [this](int year, int month) {
        const auto bar = graph_->timeline().BarOf({year, month});
        if (bar && graph_->timeline().CountAt(*bar).Total() > 0) {
            emit monthChosen(year, month);
        }
    });
}

void CMemberPage4::ShowStats(const MemberStats& stats) {
    atNewest_ = true;
    graph_->SetTimeline(MonthTimeline(stats.byMonth));
    scale_->update();
    QScrollBar* bar = scroll_->horizontalScrollBar();
    bar->setValue(bar->maximum());
}
