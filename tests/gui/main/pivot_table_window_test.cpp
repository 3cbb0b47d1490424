// The pivot data table window: rebuilt on activation, its Edit menu's
// enabling, plain text on the clipboard, and the main window's button.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "data/pivot_table.h"
#include "gui/main/pivot_table_window.h"
#include "gui/main/main_form.h"
#include "gui/main/reference_point_controls.h"
#include "platform/clock.h"
#include "tests/kit/started_gear.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

class DataTableTest : public test::StartedGear {
protected:
    void SetUp() override {
        StartedGear::SetUp();
        g.pickPivot[1] = 2;
        g.pickInUse[1] = true;
    }
    void Open() {
        table.show();
        table.activateWindow();
        QApplication::processEvents();
    }
    QAction* Action(const char* name) { return table.findChild<QAction*>(QString::fromUtf8(name)); }
    std::string Expected() {
        auto copy = std::make_unique<GearState>(g);
        std::string text;
        BuildPivotTable(*copy, PickedPivots(*copy), "10 Dec 2026", "12:34:56", text);
        return text;
    }

    FixedClock clock{"10 Dec 2026", "12:34:56"};
    TDataTable table{g, clock};
};

TEST_F(DataTableTest, WindowAndMenu) {
    EXPECT_EQ(table.windowTitle(), "Pivot Data Table");
    EXPECT_EQ(table.size(), QSize(620, 400));
    const struct {
        const char* name;
        const char* caption;
        bool enabled;
    } items[] = {{"Close1", "&Close ", true}, {"Blank", "              ", true}, {"Cut1", "Cu&t", false},
                 {"Copy1", "&Copy", false},   {"Past1", "&Paste", true},        {"SelectAll1", "Select&All", true}};
    for (const auto& i : items) {
        ASSERT_NE(Action(i.name), nullptr) << i.name;
        EXPECT_EQ(Action(i.name)->text(), i.caption);
        EXPECT_EQ(Action(i.name)->isEnabled(), i.enabled) << i.name;
    }
    EXPECT_EQ(test::Child<QMenu>(table, QStringLiteral("Edit1"))->title(), "&Edit");
}

TEST_F(DataTableTest, ActivationBuildsTheTableAndRestoresTheMotion) {
    g.motion.driverAngle = 77;
    g.motion.tickStep = 10;
    const std::string want = Expected();
    Open();
    EXPECT_TRUE(table.Memo()->toPlainText().toStdString() == want);
    EXPECT_EQ(table.Memo()->document()->blockCount(), 4 + 37 + 1); // the last line's end opens an empty line
    EXPECT_EQ(g.motion.driverAngle, 77);
    EXPECT_EQ(g.motion.tickStep, 10);
}

TEST_F(DataTableTest, SelectAllAndCopyPutThePlainTextOnTheClipboard) {
    Open();
    Action("SelectAll1")->trigger();
    EXPECT_TRUE(Action("Cut1")->isEnabled());
    EXPECT_TRUE(Action("Copy1")->isEnabled());
    EXPECT_FALSE(Action("SelectAll1")->isEnabled());
    QApplication::clipboard()->clear();
    Action("Copy1")->trigger();
    EXPECT_TRUE(Action("SelectAll1")->isEnabled());
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasText());
    EXPECT_TRUE(mime->text().toStdString() == Expected());
}

TEST_F(DataTableTest, EditMenuEnablesCutAndCopyOnlyWithASelection) {
    Open();
    QMenu* edit = table.findChild<QMenu*>(QStringLiteral("Edit1"));
    emit edit->aboutToShow();
    EXPECT_FALSE(Action("Copy1")->isEnabled());
    QTextCursor c = table.Memo()->textCursor();
    c.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, 5);
    table.Memo()->setTextCursor(c);
    emit edit->aboutToShow();
    EXPECT_TRUE(Action("Cut1")->isEnabled());
    EXPECT_TRUE(Action("Copy1")->isEnabled());
    Action("Cut1")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "Pivot");
}

TEST_F(DataTableTest, EveryActivationRebuildsAndDropsWhatWasTyped) {
    Open();
    table.Memo()->setPlainText(QStringLiteral("typed"));
    Action("SelectAll1")->trigger();
    g.motion.selectedStep = 45;
    table.FormActivate();
    EXPECT_EQ(table.Memo()->document()->blockCount(), 4 + 9 + 1);
    EXPECT_FALSE(Action("Copy1")->isEnabled());
    EXPECT_TRUE(Action("SelectAll1")->isEnabled());
}

// Activations that rebuild the table (opening, coming from another window
// of the program) and those that keep it (back from another program).
TEST_F(DataTableTest, RebuiltWhenActivatedFromInsideOnly) {
    auto activate = [this] {
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(&table, &deactivate);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&table, &activate);
    };
    auto leaveProgram = [] { emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive); };
    auto comeBack = [] { emit qGuiApp->applicationStateChanged(Qt::ApplicationActive); };
    const QString typed = QStringLiteral("typed");
    struct Step {
        const char* what;
        bool leave; // the user went to another program and came back
        bool reopen; // the table was closed and opened again
        bool rebuilt;
    };
    const Step steps[] = {
        {"back from another program", true, false, false},
        {"back again", true, false, false},
        {"from another window of the program", false, false, true},
        {"back from another program once more", true, false, false},
        {"closed and opened again after leaving", true, true, true},
    };
    Open();
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        table.Memo()->setPlainText(typed);
        if (s.leave) leaveProgram();
        if (s.reopen) {
            table.hide();
            Open();
        }
        if (s.leave) comeBack();
        activate();
        EXPECT_EQ(table.Memo()->toPlainText() != typed, s.rebuilt);
    }
}

TEST_F(DataTableTest, TakesTheFramesCaption) {
    CaptionText& c = g.display.captions[static_cast<std::size_t>(WindowKind::PivotData)];
    c.Append("VEXLIN Outside Adm Pivot Data   gear");
    table.RefreshCaption();
    EXPECT_EQ(table.windowTitle(), "VEXLIN Outside Adm Pivot Data   gear");
}

TEST(DataTableButton, OpensTheTableFromTheMainWindow) {
    TMainForm form;
    form.show();
    test::Child<QTimer>(form, QStringLiteral("Timer1"))->stop();
    form.RunCommand(TMainForm::Command::PivotData);
    QPushButton* button = form.findChild<QPushButton*>(QStringLiteral("DataTableBut"));
    ASSERT_TRUE(button->isVisible());
    auto* table = form.findChild<TDataTable*>(QStringLiteral("TDataTable"));
    ASSERT_NE(table, nullptr);
    QTimer::singleShot(0, table, [table] {
        if (auto* close = table->findChild<QAction*>(QStringLiteral("Close1"))) {
            close->trigger();
        } else {
            ADD_FAILURE() << "no Close1 command";
            table->reject();
        }
    });
    button->click();
    EXPECT_FALSE(table->isVisible());
    EXPECT_TRUE(table->Memo()->toPlainText().startsWith(QStringLiteral("Pivot Data   Nominal")));
}

} // namespace
} // namespace vx
