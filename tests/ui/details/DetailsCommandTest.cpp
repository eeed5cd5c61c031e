#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/AppFixture.h"
#include "support/ModalDialogs.h"
#include "ui/controls/CColorEdit.h"
#include "ui/details/CEventDetailDialog.h"
#include "ui/list/CTalvoraView.h"
#include "ui/tree/CLeftView.h"

namespace {

class DetailsCommandTest : public AppFixture {};

void DoubleClickRow(CTalvoraView& list, int row) {
    const QRect cell = list.visualRect(list.model()->index(row, 1));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

TEST_F(DetailsCommandTest, DoubleClickShowsTheSelectedEventAndItsLinkOpensInTheBrowser) {
    Start();
    tree().setCurrentItem(MemberItem(300));
    list().selectRow(0);
    bool shown = false;
    WhenShown<CEventDetailDialog>([&](CEventDetailDialog* dialog) {
        shown = true;
        EXPECT_EQ(dialog->parentWidget(), &list());
        auto* text = dialog->findChild<CColorEdit*>(QStringLiteral("text"));
        ASSERT_NE(text, nullptr);
        const int at = static_cast<int>(text->toPlainText().indexOf(QStringLiteral("example")));
        ASSERT_GE(at, 0);
        QTextCursor cursor(text->document());
        cursor.setPosition(at + 2);
        QTest::mouseClick(text->viewport(), Qt::LeftButton, Qt::NoModifier,
                          text->cursorRect(cursor).center());
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("close")), Qt::LeftButton);
    });
    DoubleClickRow(list(), 0);
    EXPECT_TRUE(shown);
    EXPECT_EQ(prompts_.OpenedUrls(),
              std::vector<QUrl>{QUrl(QStringLiteral("http://example.com/"))});
    EXPECT_EQ(list().SelectedRows(), std::vector<int>{0});
}

}  // namespace
