#include "ui/hits/CHitListWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "database/MessageDatabase.h"
#include "search/HitSearch.h"
#include "ui/controls/DialogKeys.h"
#include "ui/controls/FitScrollArea.h"
#include "ui/hits/CHitCriteriaForm.h"
#include "ui/hits/HitListModel.h"
#include "ui/hits/HitTextDelegate.h"
#include "ui/hits/HitTexts.h"

namespace {

// One slice of the search stays well below a frame, so typing and scrolling go on.
constexpr qint64 kSliceMilliseconds = 15;
constexpr std::size_t kEventsPerStep = 256;
// Widths of the name, date, time and direction columns: the sample texts and a margin.
constexpr const char* kColumnSamples[] = {"ＭＭＭＭＭＭ", "0000/00/00 水", "00:00:00", "送受信"};
constexpr int kColumnMargin = 16;

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

CHitListWindow::CHitListWindow(MessageDatabase& database, QWidget* parent)
    : QWidget(parent, Qt::Window), database_(database) {
    setObjectName(QStringLiteral("hitListWindow"));
    setWindowTitle(Text(hit_texts::kWindowTitle));

    form_ = new CHitCriteriaForm(this);
    start_ = new QPushButton(Text(hit_texts::kStart), this);
    start_->setObjectName(QStringLiteral("startSearch"));
    stop_ = new QPushButton(Text(hit_texts::kStop), this);
    stop_->setObjectName(QStringLiteral("stopSearch"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    // The criteria scroll on a screen too small for them; the buttons stay in sight.
    top->addWidget(new FitScrollArea(form_), 1);
    top->addLayout(buttons);

    model_ = new HitListModel(database_, this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("hitTable"));
    table_->setModel(model_);
    table_->setItemDelegateForColumn(HitListModel::TextColumn, new HitTextDelegate(table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setShowGrid(false);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int column = 0; column < HitListModel::TextColumn; ++column) {
        table_->setColumnWidth(column, table_->fontMetrics().horizontalAdvance(
                                           QString::fromUtf8(kColumnSamples[column])) +
                                           kColumnMargin);
    }

    auto* statusBar = new QStatusBar(this);
    status_ = new QLabel(statusBar);
    status_->setObjectName(QStringLiteral("hitStatus"));
    progress_ = new QProgressBar(statusBar);
    progress_->setMaximumWidth(160);
    progress_->setTextVisible(false);
    progress_->hide();
    statusBar->addWidget(status_, 1);
    statusBar->addPermanentWidget(progress_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addWidget(statusBar);
    layout->setContentsMargins(6, 6, 6, 0);

    slices_ = new QTimer(this);
    slices_->setInterval(0);
    connect(slices_, &QTimer::timeout, this, &CHitListWindow::RunSlice);

    connect(start_, &QPushButton::clicked, this, &CHitListWindow::StartSearch);
    connect(stop_, &QPushButton::clicked, this, &CHitListWindow::StopSearch);
    connect(form_, &CHitCriteriaForm::startRequested, this, [this] {
        if (form_->IsComplete()) {
            StartSearch();
        }
    });
    connect(form_, &CHitCriteriaForm::changed, this, &CHitListWindow::UpdateButtons);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (auto at = model_->ListPosition(current.row())) {
                    emit hitSelected(at->first, at->second);
                }
            });
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    resize(std::max(760, sizeHint().width()), 480);
    UpdateButtons();
    qApp->installEventFilter(this);
}

CHitListWindow::~CHitListWindow() = default;

bool CHitListWindow::searching() const {
    return slices_->isActive();
}

QString CHitListWindow::statusText() const {
    return status_->text();
}

void CHitListWindow::StartSearch() {
    const HitQuery query = form_->Query();
    if (query.mode == TextMode::Regex) {
        if (const std::optional<RegexError> error = CheckRegex(query.text, query.match.ignoreCase)) {
            status_->setText(Text(hit_texts::kBadRegex)
                                 .arg(error->character + 1)
                                 .arg(QString::fromStdString(error->message)));
            return;
        }
    }
    model_->Reset(query.key);
    search_ = std::make_unique<HitSearch>(database_, query);
    dataPath_ = database_.dataPath();
    entryCount_ = database_.entryCount();
    stopped_ = false;
    progress_->show();
    slices_->start();
    RunSlice();  // the first hits at once
}

void CHitListWindow::StopSearch() {
    if (!searching()) {
        return;
    }
    slices_->stop();
    stopped_ = true;
    ShowProgress();
}

void CHitListWindow::ForgetHits() {
    slices_->stop();
    search_.reset();
    model_->Reset(ALL_MEMBERS);
    status_->setText(Text(hit_texts::kHistoryChanged));
    progress_->hide();
    UpdateButtons();
}

bool CHitListWindow::HistoryChanged() const {
    return database_.dataPath() != dataPath_ || database_.entryCount() < entryCount_;
}

void CHitListWindow::TakeUpAppended() {
    if (!search_ || searching() || stopped_) {
        return;
    }
    if (HistoryChanged()) {
        ForgetHits();
        return;
    }
    if (!search_->Finished()) {
        slices_->start();
    }
}

void CHitListWindow::RunSlice() {
    if (!search_) {
        slices_->stop();
        return;
    }
    if (HistoryChanged()) {
        ForgetHits();
        return;
    }
    entryCount_ = database_.entryCount();
    std::vector<Hit> older, newer;
    QElapsedTimer clock;
    clock.start();
    while (!search_->Finished() && clock.elapsed() < kSliceMilliseconds) {
        search_->Step(kEventsPerStep, older, newer);
    }
    model_->AddOlder(older);
    model_->AddNewer(newer);
    if (search_->Finished()) {
        slices_->stop();
    }
    ShowProgress();
}

void CHitListWindow::ShowProgress() {
    const QString hits = QString::number(model_->rowCount());
    if (searching()) {
        const std::int64_t total = std::max<std::int64_t>(search_->total(), 1);
        status_->setText(
            Text(hit_texts::kSearching).arg(search_->examined()).arg(search_->total()).arg(hits));
        progress_->setValue(static_cast<int>(search_->examined() * 1000 / total));
        progress_->setMaximum(1000);
    } else {
        status_->setText(Text(stopped_ ? hit_texts::kStopped : hit_texts::kFinished).arg(hits));
        progress_->hide();
    }
    UpdateButtons();
}

bool CHitListWindow::eventFilter(QObject* watched, QEvent* event) {
    // Alt with the letter of a disabled "検索開始(&S)" or "中止(&T)" would reach the focused
    // control as typing: a letter in the text box, a jump in the list.
    return SwallowUnusedMnemonic(*this, watched, event) || QWidget::eventFilter(watched, event);
}

void CHitListWindow::UpdateButtons() {
    start_->setEnabled(form_->IsComplete());
    stop_->setEnabled(searching());
}
