#include "ui/options/CScanDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <string>

#include "ui/options/OptionTexts.h"

namespace {

// One slice of the walk: short enough that input and painting go on between slices.
constexpr int kSliceMs = 25;

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString Decoded(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString Period(const FoundHistory& history) {
    if (!history.dated) {
        return history.opened && history.events == 0 ? QStringLiteral("-")
                                                     : Text(optiontext::kScanDamaged);
    }
    return QStringLiteral("%1 - %2").arg(QString::fromStdString(history.firstDate),
                                         QString::fromStdString(history.lastDate));
}

}  // namespace

CScanDialog::CScanDialog(const QStringList& roots, QWidget* parent)
    : QDialog(parent),
      timer_(new QTimer(this)),
      list_(new QTreeWidget),
      status_(new QLabel),
      stop_(new QPushButton(Text(optiontext::kScanStop))),
      buttons_(new QDialogButtonBox) {
    setObjectName(QStringLiteral("scanDialog"));
    setWindowTitle(Text(optiontext::kScanCaption));
    std::vector<std::string> paths;
    for (const QString& root : roots) {
        paths.push_back(QFile::encodeName(root).toStdString());
    }
    scanner_ = std::make_unique<HistoryScanner>(paths);

    list_->setObjectName(QStringLiteral("scanList"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({Text(optiontext::kScanOwner), Text(optiontext::kScanEvents),
                            Text(optiontext::kScanPeriod), Text(optiontext::kScanFolder)});
    list_->header()->setStretchLastSection(true);
    list_->setColumnWidth(0, 100);
    list_->setColumnWidth(1, 70);
    list_->setColumnWidth(2, 190);
    status_->setObjectName(QStringLiteral("scanStatus"));
    // A long folder name must not widen the dialog.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    stop_->setObjectName(QStringLiteral("scanStop"));
    buttons_->addButton(stop_, QDialogButtonBox::ActionRole);
    QPushButton* choose =
        buttons_->addButton(Text(optiontext::kScanChoose), QDialogButtonBox::AcceptRole);
    choose->setObjectName(QStringLiteral("scanChoose"));
    choose->setEnabled(false);
    buttons_->addButton(Text(optiontext::kCancel), QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addWidget(status_);
    layout->addWidget(buttons_);
    resize(760, 380);

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(stop_, &QPushButton::clicked, this, &CScanDialog::Stop);
    connect(list_, &QTreeWidget::currentItemChanged, this,
            [choose](QTreeWidgetItem* current) { choose->setEnabled(current != nullptr); });
    connect(list_, &QTreeWidget::itemActivated, this, &QDialog::accept);
    connect(timer_, &QTimer::timeout, this, &CScanDialog::RunSlice);
    connect(this, &QDialog::finished, timer_, &QTimer::stop);
    timer_->start(0);
    UpdateStatus();
}

CScanDialog::~CScanDialog() = default;

QStringList CScanDialog::DefaultRoots() {
    QStringList roots{QDir::homePath()};
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (!prefix.isEmpty()) {
        roots.append(prefix);
    }
    // Folders that are not there are no news: they are left out rather than noted.
    for (const QString& mounts :
         {QStringLiteral("/media"), QStringLiteral("/run/media"), QStringLiteral("/mnt")}) {
        if (QDir(mounts).exists()) {
            roots.append(mounts);
        }
    }
    return roots;
}

bool CScanDialog::scanning() const {
    return timer_->isActive();
}

void CScanDialog::Stop() {
    if (!timer_->isActive()) {
        return;
    }
    timer_->stop();
    stopped_ = true;
    ShowAll();
}

void CScanDialog::RunSlice() {
    QElapsedTimer clock;
    clock.start();
    const std::size_t before = scanner_->found().size();
    bool more = true;
    while (more && clock.elapsed() < kSliceMs) {
        more = scanner_->Step(1);
    }
    skipped_ += scanner_->TakeNotes().size();
    for (std::size_t i = before; i < scanner_->found().size(); ++i) {
        AddRow(scanner_->found()[i]);
    }
    if (!more) {
        timer_->stop();
        ShowAll();
        return;
    }
    UpdateStatus();
}

void CScanDialog::AddRow(const FoundHistory& history) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(0, QString::number(history.uin));
    item->setText(1, QString::number(history.events));
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setText(2, Period(history));
    QString folder = Decoded(history.folder);
    if (!history.copyOf.empty()) {
        folder +=
            QStringLiteral("  (") + Text(optiontext::kScanCopy).arg(Decoded(history.copyOf)) + u')';
    }
    item->setText(3, folder);
    item->setToolTip(3, folder);
    shown_.push_back(history);
}

// The whole list once the walk is over: newest first, copies under their newest.
void CScanDialog::ShowAll() {
    const int current =
        list_->currentItem() != nullptr ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
    const std::optional<FoundHistory> keep =
        current >= 0 ? std::optional(shown_[static_cast<std::size_t>(current)]) : std::nullopt;
    list_->clear();
    shown_.clear();
    for (const FoundHistory& history : HistoryScanner::Arrange(scanner_->found())) {
        AddRow(history);
        if (keep && keep->indexFile == history.indexFile) {
            list_->setCurrentItem(list_->topLevelItem(list_->topLevelItemCount() - 1));
        }
    }
    if (list_->currentItem() == nullptr && list_->topLevelItemCount() > 0) {
        list_->setCurrentItem(list_->topLevelItem(0));
    }
    stop_->setEnabled(false);
    UpdateStatus();
}

void CScanDialog::UpdateStatus() {
    const QString folders = QString::number(scanner_->foldersRead());
    const QString found = QString::number(scanner_->found().size());
    QString text;
    if (timer_->isActive()) {
        text =
            Text(optiontext::kScanRunning).arg(folders, found, Decoded(scanner_->currentFolder()));
    } else {
        text =
            Text(stopped_ ? optiontext::kScanStopped : optiontext::kScanDone).arg(folders, found);
        if (skipped_ > 0) {
            text += Text(optiontext::kScanSkipped).arg(skipped_);
        }
    }
    status_->setText(text);
}

std::optional<FoundHistory> CScanDialog::chosen() const {
    QTreeWidgetItem* item = list_->currentItem();
    if (result() != QDialog::Accepted || item == nullptr) {
        return std::nullopt;
    }
    const int row = list_->indexOfTopLevelItem(item);
    if (row < 0 || static_cast<std::size_t>(row) >= shown_.size()) {
        return std::nullopt;
    }
    return shown_[static_cast<std::size_t>(row)];
}
