// "Export &Animation..." through the main window's File menu: the file the
// command line writes for the same state, the progress dialog and its
// cancel, the window's animation running on meanwhile, a failed write.
// The model headers come before Qt's: Qt defines "slots" as a macro.
#include "gui/controls/animation_export_dialog.h"
#include "gui/main/main_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <string>
#include <vector>

#include "tests/cli/cli_run.h"
#include "tests/kit/file_size_limit.h"
#include "tests/kit/gif_frames.h"
#include "tests/gui/answer_dialogs.h"
#include "tests/kit/qt_files.h"
#include "tests/kit/temp_dir.h"

namespace vx {
namespace {

using test::Bytes;

TEST(AnimationExportDialog, OffersGif) {
    QFileDialog d;
    AnimationExport::ConfigureDialog(d);
    EXPECT_EQ(d.nameFilters(), QStringList{"GIF Animation (*.gif)"});
    EXPECT_EQ(d.defaultSuffix(), "gif");
    EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(d.testOption(QFileDialog::DontConfirmOverwrite));
}

class AnimationExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        timer()->stop();
        exporter = form.findChild<AnimationExport*>();
        ASSERT_NE(exporter, nullptr);
        exporter->progressShown = [this](QProgressDialog& p) {
            ++progressShown;
            EXPECT_TRUE(p.isVisible());
            EXPECT_GT(p.maximum(), 0);
            if (!cancel) return;
            auto* button = p.findChild<QPushButton*>();
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), "Cancel");
            button->click();
        };
        exporter->showError = [this](const QString& m) { messages.push_back(m); };
    }
    QTimer* timer() { return form.findChild<QTimer*>(QStringLiteral("Timer1")); }
    void ExportThroughMenu(const std::string& path) {
        test::AnswerFileDialog(QString::fromStdString(path));
        form.findChild<QAction*>(QStringLiteral("ExportAnimation"))->trigger();
    }

    test::TempDir dir;
    TMainForm form;
    AnimationExport* exporter = nullptr;
    int progressShown = 0;
    bool cancel = false;
    std::vector<QString> messages;
};

TEST_F(AnimationExportTest, WritesWhatRenderAnimationWrites) {
    // The window as it starts (no tick yet), and at full forward with the
    // steam display and 45 degrees a frame.
    const struct {
        const char* what;
        std::vector<const char*> clicks;
        bool steam;
        std::vector<std::string> options;
        std::size_t frames;
    } cases[] = {
        {"at start", {}, false, {}, 36},
        {"forward, steam, 45 degrees", {"Fwd", "Step45"}, true, {"--revarm", "-1", "--steam", "--step", "45"}, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* name : c.clicks) form.findChild<QPushButton*>(QString::fromUtf8(name))->click();
        if (c.steam) form.RunCommand(TMainForm::Command::SetSteam);
        const std::string mine = dir.File(std::string(c.what) + " window.gif");
        const std::string theirs = dir.File(std::string(c.what) + " cli.gif");
        progressShown = 0;
        ExportThroughMenu(mine);
        EXPECT_EQ(progressShown, 1);
        std::vector<std::string> args{"render", "animation", "--out", theirs};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const test::CliRun r = test::Cli(args);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_TRUE(messages.empty());
        EXPECT_FALSE(Bytes(mine).isEmpty());
        EXPECT_TRUE(Bytes(mine) == Bytes(theirs));
        const test::DecodedGif d = test::DecodeGif(QString::fromStdString(mine));
        EXPECT_EQ(d.error, "");
        EXPECT_EQ(d.frames.size(), c.frames);
    }
}

TEST_F(AnimationExportTest, CancelWritesNothing) {
    cancel = true;
    const std::string path = dir.File("cancelled.gif");
    ExportThroughMenu(path);
    EXPECT_EQ(progressShown, 1);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(dir.Names().empty());
}

TEST_F(AnimationExportTest, TheWindowKeepsRunningMeanwhile) {
    int ticks = 0;
    QObject::connect(timer(), &QTimer::timeout, [&ticks] { ++ticks; });
    timer()->start();
    const float before = form.Model().motion.driverAngle;
    exporter->progressShown = [&](QProgressDialog&) { ticks = 0; };
    ASSERT_TRUE(exporter->WriteFile(QString::fromStdString(dir.File("running.gif"))));
    // The export takes many frame times; the window's timer ticked through
    // it and the gear turned, on the window's own model.
    EXPECT_GT(ticks, 3);
    EXPECT_NE(form.Model().motion.driverAngle, before);
    EXPECT_TRUE(form.Model().motion.running);
}

TEST_F(AnimationExportTest, FailedWriteShowsOneMessageAndKeepsTheFile) {
    const std::string path = dir.File("keep.gif");
    {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    {
        test::FileSizeLimit limit(1000);
        ExportThroughMenu(path);
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith(QString::fromStdString("cannot write " + path + ": "))) << messages[0].toStdString();
    EXPECT_EQ(Bytes(path), "old");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"keep.gif"});
}

} // namespace
} // namespace vx
