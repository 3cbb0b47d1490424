// Opening and saving designs from the main window: the file dialogs as
// shown, a round trip through them, cancel and failure paths.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <memory>

#include "gui/main/dimension_file_dialog.h"
#include "gui/main/main_form.h"
#include "model/workspace/defaults.h"
#include "tests/kit/started_gear.h"
#include "tests/kit/temp_dir.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

TEST(DimensionFileDialogs, AreConfiguredAsTheProgramShowsThem) {
    for (const bool save : {false, true}) {
        QFileDialog d;
        DimensionFileCommands::ConfigureDialog(d, save);
        EXPECT_EQ(d.nameFilters(), (QStringList{"Data File (*.vxd)", "All Files (*)"}));
        EXPECT_EQ(d.defaultSuffix(), save ? "vxd" : ""); // Open takes any name as it is
        EXPECT_FALSE(d.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_FALSE(d.testOption(QFileDialog::ReadOnly));
        EXPECT_TRUE(d.isSizeGripEnabled());
        EXPECT_EQ(d.acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        EXPECT_EQ(d.fileMode(), save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (save) {
            EXPECT_EQ(d.windowTitle(), "Save As.....");
        }
    }
}

// Answers the next file dialog with `name` (typed into its file name box),
// under the name filter given. Whatever else is shown instead fails the test
// and is closed.
void AnswerFileDialog(const QString& name, const QString& filter = {}) {
    QTimer::singleShot(0, [name, filter] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (d == nullptr) {
            ADD_FAILURE() << "no file dialog shown";
            test::CloseModalDialogs();
            return;
        }
        if (!filter.isEmpty()) d->selectNameFilter(filter);
        d->selectFile(name);
        QMetaObject::invokeMethod(d, "accept");
    });
}

class FileRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        test::Child<QTimer>(form, QStringLiteral("Timer1"))->stop();
    }
    GearState& g() { return form.Model(); }
    test::TempDir dir;
    TMainForm form;
};

TEST_F(FileRoundTrip, SaveAndOpenThroughTheDialogsKeepTheDesign) {
    for (int i = 4; i <= 9; ++i) g().revArm.position[static_cast<std::size_t>(i)] = 0.5f * static_cast<float>(i);
    g().frame.stroke = 3.5f;
    g().view = {40, 200, 250};
    g().overlay[3].kind = 1;
    g().overlay[3].color = 255;
    g().overlay[3].refMode = 0;
    g().overlay[3].horz2 = 2.25f;
    g().currentItem = 4;
    AnswerFileDialog(QString::fromStdString(dir.File("gear"))); // the dialog adds ".vxd"
    form.RunCommand(TMainForm::Command::SaveAsDimensions);
    ASSERT_TRUE(std::filesystem::exists(dir.File("gear.vxd")));
    EXPECT_EQ(g().designName, "gear");

    // Away from the saved design, in forward gear, then open it again.
    form.RunCommand(TMainForm::Command::ResetAllDimensions);
    test::Child<QPushButton>(form, QStringLiteral("Fwd"))->click();
    ASSERT_NE(test::Child<QScrollBar>(form, QStringLiteral("SBRevArm"))->value(), 0);
    AnswerFileDialog(QString::fromStdString(dir.File("gear.vxd")));
    form.RunCommand(TMainForm::Command::OpenDimensions);

    EXPECT_EQ(g().designName, "gear");
    EXPECT_EQ(g().frame.stroke, 3.5f);
    for (int i = 4; i <= 9; ++i)
        EXPECT_EQ(g().revArm.position[static_cast<std::size_t>(i)], 0.5f * static_cast<float>(i)) << i;
    EXPECT_EQ(g().view, (ViewTransform{40, 200, 250}));
    EXPECT_EQ(g().overlay[3].kind, 1);
    EXPECT_EQ(g().overlay[3].horz2, 2.25f);
    EXPECT_EQ(g().currentItem, 4);
    // The lines-and-circles dialog shows the loaded overlay: row 3 is a red
    // circle about "0 , 0" with its radius in the fourth box.
    auto* drawLines = form.findChild<QDialog*>(QStringLiteral("DrawLines"));
    ASSERT_NE(drawLines, nullptr);
    auto text = [drawLines](const char* name) {
        QWidget* w = drawLines->findChild<QWidget*>(QString::fromUtf8(name));
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
        if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
        return QStringLiteral("?");
    };
    EXPECT_EQ(text("Label10"), "Circle");
    EXPECT_EQ(text("Label11"), "Red");
    EXPECT_EQ(text("Label12"), "0 , 0");
    EXPECT_EQ(text("Edit12"), "  2.250");
    // Ends as "Cen" does: the bar at 0, the reverse arm at mid gear.
    EXPECT_EQ(test::Child<QScrollBar>(form, QStringLiteral("SBRevArm"))->value(), 0);
    EXPECT_EQ(g().motion.reverseArmPosition, g().revArm.centre);
    EXPECT_EQ(g().motion.direction, Direction::Fwd);
    EXPECT_FALSE(test::Child<QPushButton>(form, QStringLiteral("Center"))->isEnabled());
}

TEST_F(FileRoundTrip, OpenTakesAFileWithoutTheSuffixUnderAllFiles) {
    g().frame.stroke = 3.5f;
    AnswerFileDialog(QString::fromStdString(dir.File("gear")));
    form.RunCommand(TMainForm::Command::SaveAsDimensions);
    std::filesystem::rename(dir.File("gear.vxd"), dir.File("gear-data"));
    form.RunCommand(TMainForm::Command::ResetAllDimensions);
    ASSERT_EQ(g().frame.stroke, 3.0f);
    AnswerFileDialog(QString::fromStdString(dir.File("gear-data")), QStringLiteral("All Files (*)"));
    form.RunCommand(TMainForm::Command::OpenDimensions);
    EXPECT_EQ(g().frame.stroke, 3.5f); // "gear-data.vxd" does not exist: this was the file chosen
}

class FileCommandsTest : public test::StartedGear {
protected:
    void SetUp() override {
        StartedGear::SetUp();
        DimensionFileCommands::Hooks hooks;
        hooks.open = [this](const std::string& p) { return OpenDesign(g, p); };
        hooks.overlayOpened = [this] { calls += "opened "; };
        hooks.overlayRefresh = [this] { calls += "refresh "; };
        files = std::make_unique<DimensionFileCommands>(nullptr, g, std::move(hooks));
        files->chooseFile = [this](bool) { return answer; };
        files->showError = [this](const QString& m) { errors.push_back(m.toStdString()); };
    }
    std::unique_ptr<DimensionFileCommands> files;
    QString answer;
    std::string calls;
    std::vector<std::string> errors;
    test::TempDir dir;
};

TEST_F(FileCommandsTest, CancelledOpenOnlyRefreshesTheOverlayTableAndCancelledSaveDoesNothing) {
    g.frame.stroke = 9;
    files->OpenDimensions();
    EXPECT_EQ(calls, "refresh ");
    files->SaveAsDimensions();
    EXPECT_EQ(calls, "refresh ");
    EXPECT_EQ(g.frame.stroke, 9);
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(dir.Names().empty());
}

TEST_F(FileCommandsTest, OpenHandsTheLoadedOverlayToItsDialog) {
    answer = QString::fromStdString(dir.File("a.vxd"));
    files->SaveAsDimensions();
    files->OpenDimensions();
    EXPECT_EQ(calls, "opened ");
    EXPECT_TRUE(errors.empty());
}

TEST_F(FileCommandsTest, FailedOpenShowsOneMessageNamingTheFileAndLeavesTheDesign) {
    const std::string shortFile = dir.File("short.vxd");
    std::ofstream(shortFile) << "too short";
    g.frame.stroke = 9;
    g.designName = "mine";
    answer = QString::fromStdString(shortFile);
    files->OpenDimensions();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(shortFile), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("short"), std::string::npos);
    EXPECT_EQ(g.frame.stroke, 9);
    EXPECT_EQ(g.designName, "mine");
    EXPECT_EQ(calls, "");
}

TEST_F(FileCommandsTest, FailedSaveShowsOneMessageAndKeepsTheDesignName) {
    answer = QString::fromStdString(dir.File("no/such/folder/a.vxd"));
    g.designName = "mine";
    files->SaveAsDimensions();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("no/such/folder/a.vxd"), std::string::npos) << errors[0];
    EXPECT_EQ(g.designName, "mine");
}

} // namespace
} // namespace vx
