// The Help windows: the instruction texts loaded once at creation (with the
// one error message when a file cannot be loaded), their captions and
// sizes, the about box, and the Help menu opening each of them modally.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <unistd.h>

#include <gtest/gtest.h>

#include "gui/help/about_box_dialog.h"
#include "gui/help/close_button.h"
#include "gui/help/instruction_dialog.h"
#include "gui/main/main_form.h"
#include "tests/kit/ordinary_user.h"
#include "tests/kit/temp_dir.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

class InstructionTest : public testing::Test {
protected:
    void Write(const fs::path& folder, const char* name, const std::string& bytes) {
        fs::create_directories(folder);
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
    InstructionSource Source(std::vector<fs::path> folders) {
        return {std::move(folders), [this](const QString& m) { messages_.push_back(m); }};
    }

    test::TempDir dir_;
    std::vector<QString> messages_;
};

TEST_F(InstructionTest, LoadsTheFileIntoTheTextBoxAndNamesItInTheLabel) {
    Write(dir_.Path(), "instruct.doc", "First line\r\nSecond line\n\nFourth\n");
    TInst inst(nullptr, Source({dir_.Path()}));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(inst.Memo1()->toPlainText(), QStringLiteral("First line\nSecond line\n\nFourth"));
    EXPECT_EQ(inst.Label1()->text(), QStringLiteral("instruct.doc"));
    EXPECT_TRUE(inst.Memo1()->isReadOnly());
}

TEST_F(InstructionTest, TextsThatAreNotUtf8LoadAsLatin1) {
    Write(dir_.Path(), "VexlinSpIns.doc", "Cut-off 75 \xB0 \xE9t\xE9\n");
    TVexlinSpInst sp(nullptr, Source({dir_.Path()}));
    EXPECT_EQ(sp.Memo1()->toPlainText(), QString::fromUtf8("Cut-off 75 \u00B0 \u00E9t\u00E9"));
}

TEST_F(InstructionTest, LookupTakesTheFirstFolderHoldingTheFile) {
    const fs::path cwd = dir_.Path() / "cwd", bin = dir_.Path() / "bin";
    Write(bin, "instruct.doc", "beside the program");
    TInst fromBin(nullptr, Source({cwd, bin}));
    EXPECT_EQ(fromBin.Memo1()->toPlainText(), QStringLiteral("beside the program"));
    Write(cwd, "instruct.doc", "in the current folder");
    TInst fromCwd(nullptr, Source({cwd, bin}));
    EXPECT_EQ(fromCwd.Memo1()->toPlainText(), QStringLiteral("in the current folder"));
    EXPECT_TRUE(messages_.empty());
}

// A file that cannot be loaded: one message naming the file and the
// platform's reason; the text box keeps "Memo1"; the label still names the
// file.
TEST_F(InstructionTest, AFileThatCannotBeLoadedGivesOneMessageAndLeavesMemo1) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> prepare;
        QString reason;
    };
    const std::vector<Case> cases = {
        {"missing", [](const fs::path&) {}, QStringLiteral("No such file or directory")},
        {"too large",
         [](const fs::path& f) { fs::resize_file(f, kMaxInstructionBytes + 1); },
         QStringLiteral("the file is larger than 4 MB")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir folder;
        if (std::string(c.what) != "missing") {
            Write(folder.Path(), "instruct.doc", "");
            Write(folder.Path(), "VexlinSpIns.doc", "");
            c.prepare(folder.Path() / "instruct.doc");
            c.prepare(folder.Path() / "VexlinSpIns.doc");
        }
        messages_.clear();
        TInst inst(nullptr, Source({folder.Path()}));
        TVexlinSpInst sp(nullptr, Source({folder.Path()}));
        ASSERT_EQ(messages_.size(), 2u);
        EXPECT_EQ(messages_[0], QStringLiteral("Error Loading instruct.doc: ") + c.reason);
        EXPECT_EQ(messages_[1], QStringLiteral("Error Loading VexlinSpIns.doc: ") + c.reason);
        EXPECT_EQ(inst.Memo1()->toPlainText(), QStringLiteral("Memo1"));
        EXPECT_EQ(sp.Memo1()->toPlainText(), QStringLiteral("Memo1"));
        EXPECT_EQ(inst.Label1()->text(), QStringLiteral("instruct.doc"));
    }
}

TEST_F(InstructionTest, AnUnreadableFileGivesThePlatformsReason) {
    Write(dir_.Path(), "instruct.doc", "secret");
    fs::permissions(dir_.Path() / "instruct.doc", fs::perms::none);
    fs::permissions(dir_.Path(), fs::perms(0755));
    const std::string problem = test::AsOrdinaryUser([&]() -> std::string {
        TInst inst(nullptr, Source({dir_.Path()}));
        if (messages_.size() != 1) return std::to_string(messages_.size()) + " messages instead of one";
        if (messages_[0] != QStringLiteral("Error Loading instruct.doc: Permission denied"))
            return "the message reads: " + messages_[0].toStdString();
        if (inst.Memo1()->toPlainText() != QStringLiteral("Memo1"))
            return "the text box holds: " + inst.Memo1()->toPlainText().toStdString();
        return {};
    });
    EXPECT_EQ(problem, "");
}

TEST_F(InstructionTest, WindowsHaveTheirCaptionsSizesAndControls) {
    Write(dir_.Path(), "instruct.doc", "x");
    Write(dir_.Path(), "VexlinSpIns.doc", "y");
    TInst inst(nullptr, Source({dir_.Path()}));
    TVexlinSpInst sp(nullptr, Source({dir_.Path()}));
    TAboutBox about;
    struct Case {
        QDialog* window;
        const char* caption;
        QSize size;
    };
    // Each window has the classic content area and a row for Close under it.
    for (const Case& c : {Case{&inst, "Instructions", {427, 273 + kCloseRowHeight}},
                          Case{&sp, "Vexlin Special Instructions", {427, 273 + kCloseRowHeight}},
                          Case{&about, "About the Vexlin Valve Gear Programs", {340, 143 + kCloseRowHeight}}}) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(c.window->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(c.window->size(), c.size);
        EXPECT_EQ(c.window->minimumSize(), c.window->maximumSize()); // a dialog border: fixed size
    }
    for (InstructionDialog* d : {static_cast<InstructionDialog*>(&inst), static_cast<InstructionDialog*>(&sp)}) {
        // The text box covers the window and the label under it; its
        // scroll bar lies inside the window.
        EXPECT_EQ(d->Memo1()->geometry(), QRect(0, 0, 427, 273));
        EXPECT_EQ(d->Label1()->pos(), QPoint(8, 8));
        EXPECT_EQ(d->Memo1()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
    EXPECT_TRUE(inst.Label1()->font().bold());
    EXPECT_EQ(inst.Label1()->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    // Eight one-line labels, 8 pixels from the left, each inside the box.
    for (int n = 1; n <= TAboutBox::kLabelCount; ++n) {
        const QLabel* l = about.Label(n);
        EXPECT_EQ(l->x(), 8);
        EXPECT_FALSE(l->text().isEmpty());
        EXPECT_FALSE(l->text().contains(QLatin1Char('\n')));
        EXPECT_LE(l->x() + l->fontMetrics().horizontalAdvance(l->text()), TAboutBox::kClientWidth) << n;
        EXPECT_LE(l->geometry().bottom(), TAboutBox::kClientHeight) << n;
        if (n > 1) {
            EXPECT_GE(l->y(), about.Label(n - 1)->geometry().bottom()) << n;
        }
    }
}

// Each help window closes with its Close button: by a click, and by Enter
// or Space on the button once Tab (or the window's start) put the focus there.
TEST_F(InstructionTest, HelpWindowsCloseWithTheirCloseButton) {
    Write(dir_.Path(), "instruct.doc", "x");
    Write(dir_.Path(), "VexlinSpIns.doc", "y");
    TInst inst(nullptr, Source({dir_.Path()}));
    TVexlinSpInst sp(nullptr, Source({dir_.Path()}));
    TAboutBox about;
    struct Case {
        QDialog* window;
        QPushButton* close;
        int contentHeight;
    };
    for (const Case& c : {Case{&inst, inst.CloseButton(), InstructionDialog::kClientHeight},
                          Case{&sp, sp.CloseButton(), InstructionDialog::kClientHeight},
                          Case{&about, about.CloseButton(), TAboutBox::kClientHeight}}) {
        SCOPED_TRACE(c.window->windowTitle().toStdString());
        ASSERT_NE(c.close, nullptr);
        EXPECT_EQ(c.close->text(), QStringLiteral("Close"));
        // In the row under the content, inside the window.
        EXPECT_GE(c.close->y(), c.contentHeight);
        EXPECT_TRUE(c.window->rect().contains(c.close->geometry()));
        for (const int key : {0, int(Qt::Key_Return), int(Qt::Key_Space)}) {
            c.window->show();
            c.window->activateWindow();
            ASSERT_TRUE(c.window->isVisible());
            if (key == 0) {
                c.close->click();
            } else {
                c.close->setFocus(Qt::TabFocusReason);
                QTest::keyClick(c.close, static_cast<Qt::Key>(key));
            }
            EXPECT_FALSE(c.window->isVisible()) << key;
        }
    }
}

// The texts delivered with the program lie beside the built program: the
// windows made as the program makes them find them.
TEST(ShippedInstructions, AreFoundAndLoaded) {
    TInst inst;
    TVexlinSpInst sp;
    EXPECT_GT(inst.Memo1()->document()->blockCount(), 100);
    EXPECT_GT(sp.Memo1()->document()->blockCount(), 40);
    EXPECT_TRUE(inst.Memo1()->toPlainText().contains(QStringLiteral("vexlin-cli")));
    EXPECT_TRUE(sp.Memo1()->toPlainText().contains(QStringLiteral("mid gear")));
}

// The instructions describe every window a user can open and the keys of
// undo and redo: the windows added to the program have their sections.
TEST(ShippedInstructions, DescribeTheEventsBalanceAndExportWindowsAndRedo) {
    TInst inst;
    const QString text = inst.Memo1()->toPlainText();
    for (const char* words : {"Valve Events", "Balance Events", "Export Picture...", "Export Animation...",
                              "Export Report...", "ReDo", "Ctrl+Shift+Z or Ctrl+Y", "Thresholds", "Apply",
                              "typed", "comma"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(words))) << words;
}

QAction* FindAction(QMenuBar* bar, const QString& menu, const QString& item) {
    for (QAction* top : bar->actions())
        if (top->text() == menu && top->menu() != nullptr)
            for (QAction* a : top->menu()->actions())
                if (a->text() == item) return a;
    return nullptr;
}

TEST(HelpMenu, EachItemShowsItsWindowModally) {
    TMainForm form(1000);
    form.show();
    struct Case {
        const char* item;
        const char* caption;
    };
    for (const Case& c : {Case{"&Instructions", "Instructions"},
                          Case{"Instructions&Special", "Vexlin Special Instructions"},
                          Case{"&About", "About the Vexlin Valve Gear Programs"}}) {
        SCOPED_TRACE(c.item);
        QAction* a = FindAction(form.menuBar(), QStringLiteral("&Help"), QString::fromUtf8(c.item));
        ASSERT_NE(a, nullptr);
        // Runs inside the window's own event loop: it lists what is open
        // and closes it, so that trigger() returns.
        QStringList shown;
        QTimer::singleShot(0, [&] {
            for (QWidget* t : QApplication::topLevelWidgets()) {
                auto* d = qobject_cast<QDialog*>(t);
                if (d == nullptr || !d->isVisible()) continue;
                shown << d->windowTitle() + (d->isModal() ? QStringLiteral(" (modal)") : QString());
                d->reject();
            }
        });
        a->trigger(); // returns when the window is closed
        EXPECT_EQ(shown, QStringList{QString::fromUtf8(c.caption) + QStringLiteral(" (modal)")});
    }
}

} // namespace
} // namespace vx
