// The program's version is one text: the About box, the window captions and
// --version all show the same.
#include <gtest/gtest.h>

#include <QLabel>
#include <string>

#include "gui/help/about_box_dialog.h"
#include "model/workspace/window_captions.h"

namespace vx {
namespace {

TEST(AboutBox, ShowsTheVersionTheCaptionsShow) {
    const std::string version = VEXLIN_VERSION;
    EXPECT_EQ(version, "2.8"); // as the captions have always read
    TAboutBox box;
    bool found = false;
    for (int n = 1; n <= TAboutBox::kLabelCount; ++n)
        found = found || box.Label(n)->text().toStdString().find("Version " + version + ".") != std::string::npos;
    EXPECT_TRUE(found);
    for (WindowKind kind : {WindowKind::Main, WindowKind::SineDiagram, WindowKind::PivotData}) {
        const std::string caption(WindowCaption(kind, "Nominal", "d", "t").View());
        EXPECT_EQ(caption.substr(caption.size() - version.size() - 8), "Version " + version) << caption;
    }
}

} // namespace
} // namespace vx
