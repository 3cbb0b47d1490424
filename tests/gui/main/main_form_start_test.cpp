// The main window as the program starts it: its timer ticks by itself at
// the interval given on the command line, and a design that cannot be
// opened leaves the design the window started with.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include <fstream>

#include "data/dimension_file.h"
#include "gui/main/main_form.h"
#include "tests/kit/temp_dir.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

TEST(MainFormStart, TheTimerTicksByItselfAtTheGivenInterval) {
    int ticks[2] = {};
    const int intervals[2] = {5, 100};
    for (int k = 0; k < 2; ++k) {
        TMainForm form(intervals[k]);
        QTimer* timer = test::Child<QTimer>(form, "Timer1");
        form.show();
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), intervals[k]);
        QObject::connect(timer, &QTimer::timeout, [&ticks, k] { ++ticks[k]; });
        const float start = form.Model().motion.driverAngle;
        QTest::qWait(300);
        timer->stop();
        EXPECT_NE(form.Model().motion.driverAngle, start) << intervals[k] << " ms";
        form.close();
    }
    // At 100 ms no more than 4 ticks fit into 300 ms; at 5 ms, many more.
    EXPECT_GE(ticks[1], 1);
    EXPECT_LE(ticks[1], 4);
    EXPECT_GT(ticks[0], ticks[1]);
}

TEST(MainFormStart, ADesignThatCannotBeOpenedLeavesTheStartingOne) {
    test::TempDir dir;
    std::ofstream(dir.File("broken.vxd"), std::ios::binary) << "not a design";
    TMainForm fresh;
    for (const std::string& path : {dir.File("missing.vxd"), dir.File("broken.vxd")}) {
        SCOPED_TRACE(path);
        TMainForm form;
        test::Child<QTimer>(form, "Timer1")->stop();
        const FileResult r = form.OpenDesignFile(path);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find(path), std::string::npos) << r.error;
        EXPECT_EQ(EncodeDesign(form.Model()), EncodeDesign(fresh.Model()));
        EXPECT_EQ(form.Model().designName, fresh.Model().designName);
    }
}

} // namespace
} // namespace vx
