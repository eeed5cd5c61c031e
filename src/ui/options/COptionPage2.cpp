#include "ui/options/COptionPage2.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/controls/CColorLabel.h"
#include "ui/controls/Colors.h"
#include "ui/controls/Prompts.h"
#include "ui/options/OptionTexts.h"

namespace {

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

constexpr const char* kSampleTexts[] = {optiontext::kSentSample, optiontext::kReceivedSample,
                                        optiontext::kSelectedSample};
constexpr const char* kSampleNames[] = {"sentSample", "receivedSample", "selectedSample"};
constexpr const char* kRowNames[] = {"sent", "received", "selected"};

}  // namespace

COptionPage2::COptionPage2(const ListColors& current, std::function<void(const ListColors&)> apply,
                           Prompts& prompts, QWidget* parent)
    : COptionPage(parent),
      current_(current),
      apply_(std::move(apply)),
      prompts_(prompts),
      rows_{{&ListColors::sendText, &ListColors::sendBackground},
            {&ListColors::receiveText, &ListColors::receiveBackground},
            {&ListColors::highlightText, &ListColors::highlightBackground}} {
    setObjectName(QStringLiteral("colorPage"));
    auto* grid = new QGridLayout;
    grid->setColumnStretch(0, 1);
    grid->setVerticalSpacing(10);
    for (int i = 0; i < 3; ++i) {
        Row& row = rows_[i];
        row.sample = new CColorLabel(Text(kSampleTexts[i]));
        row.sample->setObjectName(QString::fromLatin1(kSampleNames[i]));
        row.sample->setAlignment(Qt::AlignCenter);
        row.sample->setMinimumSize(150, 22);
        // The label paints all of itself; the sunken edge is a frame around it.
        auto* edge = new QFrame;
        edge->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        auto* edgeLayout = new QVBoxLayout(edge);
        edgeLayout->setContentsMargins(edge->frameWidth(), edge->frameWidth(), edge->frameWidth(),
                                       edge->frameWidth());
        edgeLayout->addWidget(row.sample);
        auto* textButton = new QPushButton(Text(optiontext::kTextColor));
        textButton->setObjectName(QString::fromLatin1(kRowNames[i]) + QStringLiteral("Text"));
        auto* backButton = new QPushButton(Text(optiontext::kBackColor));
        backButton->setObjectName(QString::fromLatin1(kRowNames[i]) + QStringLiteral("Background"));
        grid->addWidget(edge, i, 0);
        grid->addWidget(textButton, i, 1);
        grid->addWidget(backButton, i, 2);
        connect(textButton, &QPushButton::clicked, this,
                [this, i] { ChooseColor(rows_[i], false); });
        connect(backButton, &QPushButton::clicked, this,
                [this, i] { ChooseColor(rows_[i], true); });
    }
    auto* group = new QGroupBox(Text(optiontext::kColorGroup));
    group->setLayout(grid);

    auto* restore = new QPushButton(Text(optiontext::kRestoreColors));
    restore->setObjectName(QStringLiteral("restoreColors"));
    connect(restore, &QPushButton::clicked, this, &COptionPage2::RestoreStandardColors);
    auto* restoreRow = new QHBoxLayout;
    restoreRow->addStretch(1);
    restoreRow->addWidget(restore);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(restoreRow);
    layout->addStretch(1);
}

CColorLabel* COptionPage2::sample(int row) const {
    return row >= 0 && row < 3 ? rows_[row].sample : nullptr;
}

void COptionPage2::InitPage() {
    colors_ = current_;
    ShowSamples();
}

void COptionPage2::ShowSamples() {
    for (const Row& row : rows_) {
        row.sample->SetBackColor(colors_.*row.background);
        row.sample->SetForeColor(colors_.*row.text);
        row.sample->update();
    }
    update();
}

void COptionPage2::ChooseColor(Row& row, bool background) {
    std::uint32_t& color = colors_.*(background ? row.background : row.text);
    const std::optional<QColor> chosen = prompts_.Color(this, ToQColor(color));
    if (!chosen) {
        return;
    }
    color = FromQColor(*chosen);
    if (background) {
        row.sample->SetBackColor(color);
    } else {
        row.sample->SetForeColor(color);
    }
    row.sample->update();
    update();
    SetModified(true);
}

void COptionPage2::RestoreStandardColors() {
    if (prompts_.Message(this, Text(optiontext::kAppTitle), Text(optiontext::kRestoreQuestion),
                         Prompts::Icon::Question,
                         QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    colors_ = PaletteListColors(QApplication::palette());
    ShowSamples();
}

void COptionPage2::Commit() {
    if (apply_) {
        apply_(colors_);
    }
}
