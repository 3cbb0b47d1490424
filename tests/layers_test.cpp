// The layers of the source tree: a file may include headers of its own layer
// and of the layers below it, never of one above; the model, the data
// layer, the plain platform and the scene include no Qt; and every source
// file stands in a layer folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The layers from the bottom up. Folders of one rank may not include each
// other's headers unless listed as the same layer (gui and cli are side by
// side: neither sees the other).
struct Layer {
    const char* folder;
    int rank;
    bool qt; // may include Qt headers
};
// The model's subfolders are layers of their own, from the data of the gear
// up to the analyses.
constexpr Layer kLayers[] = {
    {"base", 0, false},          {"model/state", 1, false},     {"model/gear", 2, false},
    {"model/workspace", 3, false}, {"model/analysis", 4, false}, {"platform/qt", 5, true},
    {"platform", 5, false},      {"data", 6, false},            {"scene", 7, false},
    {"export", 8, true},         {"gui", 9, true},              {"cli", 9, true},
    {"app", 10, true},           {"bench", 10, true},           {"tests", 11, true},
};

const Layer* LayerOf(const std::string& relPath) {
    for (const Layer& l : kLayers) {
        const std::string f = std::string(l.folder) + "/";
        if (relPath.compare(0, f.size(), f) == 0) return &l;
    }
    return nullptr;
}

// Whether a file of layer `from` may include a header of layer `to`.
bool MayInclude(const Layer& from, const Layer& to) {
    if (&from == &to) return true;
    const std::string f = from.folder, t = to.folder;
    if (t == "platform/qt") return from.qt && from.rank >= to.rank;  // Qt canvases: for Qt layers only
    if (f == "platform/qt" && t == "platform") return true;
    if (from.rank == to.rank) return false;                          // gui and cli, side by side
    return to.rank < from.rank;
}

// Every problem of the tree under `root`, one line each.
std::vector<std::string> LayerViolations(const fs::path& root) {
    std::vector<std::string> found;
    static const std::regex kLocal(R"re(^\s*#\s*include\s*"([^"]+)")re");
    static const std::regex kQt(R"re(^\s*#\s*include\s*<(Q[A-Za-z]+|Qt[A-Za-z]+/[^>]*)>)re");
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path& p = it->path();
        const std::string rel = fs::relative(p, root).generic_string();
        if (it->is_directory()) {
            const std::string name = p.filename().string();
            if (name == ".git" || name == "resources" || name == "docs" || name == "tools" ||
                rel.rfind("build", 0) == 0 || (rel.find('/') == std::string::npos && name[0] == '.'))
                it.disable_recursion_pending();
            continue;
        }
        const std::string ext = p.extension().string();
        if (ext != ".h" && ext != ".cpp") continue;
        const Layer* from = LayerOf(rel);
        if (!from) {
            found.push_back(rel + ": not in a layer folder");
            continue;
        }
        std::ifstream in(p);
        std::string line;
        int n = 0;
        while (std::getline(in, line)) {
            ++n;
            std::smatch m;
            const std::string where = rel + ":" + std::to_string(n) + ": ";
            if (std::regex_search(line, m, kLocal)) {
                const std::string inc = m[1].str();
                const Layer* to = LayerOf(inc);
                if (!to) {
                    if (inc.find('/') != std::string::npos) found.push_back(where + "\"" + inc + "\" is in no layer");
                } else if (std::string(to->folder) == "tests") {
                    // The benchmarks share the tests' kit (the started design, the
                    // reference solver timed beside the model's), and nothing else.
                    const std::string f = from->folder;
                    const bool kit = inc.rfind("tests/kit/", 0) == 0;
                    if (f != "tests" && !(f == "bench" && kit))
                        found.push_back(where + "includes a test header \"" + inc + "\"");
                } else if (!MayInclude(*from, *to)) {
                    found.push_back(where + from->folder + "/ includes \"" + inc + "\" of " + to->folder + "/");
                }
            } else if (!from->qt && std::regex_search(line, m, kQt)) {
                found.push_back(where + from->folder + "/ includes the Qt header <" + m[1].str() + ">");
            }
        }
    }
    return found;
}

std::string Joined(const std::vector<std::string>& v) {
    std::string s;
    for (const auto& x : v) s += x + "\n";
    return s;
}

TEST(Layers, NoIncludeRunsUpwardsAndTheSceneHasNoQt) {
    const auto found = LayerViolations(VEXLIN_SOURCE_DIR);
    EXPECT_TRUE(found.empty()) << Joined(found);
}

// The check itself, on a small tree with one fault of each kind.
class LayerCheck : public ::testing::Test {
protected:
    fs::path root_ = fs::temp_directory_path() / ("vexlin-layers-" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(root_); }
    void TearDown() override { fs::remove_all(root_); }
    void Write(const std::string& rel, const std::string& text) {
        fs::create_directories((root_ / rel).parent_path());
        std::ofstream(root_ / rel) << text;
    }
};

TEST_F(LayerCheck, FindsEachKindOfFault) {
    struct Case {
        const char* file;
        const char* text;
        const char* expected; // part of the one message; "" when the file is sound
    };
    const Case cases[] = {
        {"scene/frame/a.cpp", "#include \"model/state/gear_state.h\"\n#include \"platform/canvas.h\"\n", ""},
        {"gui/main/b.cpp", "#include \"scene/frame/a.h\"\n#include <QWidget>\n#include \"platform/qt/x.h\"\n", ""},
        {"scene/frame/c.cpp", "#include \"gui/main/main_form.h\"\n", "scene/ includes \"gui/main/main_form.h\" of gui/"},
        {"scene/diagrams/d.cpp", "#include <QImage>\n", "scene/ includes the Qt header <QImage>"},
        {"model/gear/e.h", "#include \"data/dimension_file.h\"\n", "model/gear/ includes \"data/dimension_file.h\" of data/"},
        {"model/gear/j.cpp", "#include \"model/analysis/work.h\"\n",
         "model/gear/ includes \"model/analysis/work.h\" of model/analysis/"},
        {"model/analysis/k.cpp", "#include \"model/gear/solver.h\"\n#include \"base/nearest.h\"\n", ""},
        {"base/l.h", "#include \"model/state/design.h\"\n", "base/ includes \"model/state/design.h\" of model/state/"},
        {"cli/f.cpp", "#include \"gui/main/main_form.h\"\n", "cli/ includes \"gui/main/main_form.h\" of gui/"},
        {"scene/g.cpp", "#include \"platform/qt/qt_fonts.h\"\n", "scene/ includes \"platform/qt/qt_fonts.h\" of platform/qt/"},
        {"mainwindow/h.cpp", "", "mainwindow/h.cpp: not in a layer folder"},
        {"data/i.cpp", "#include \"tests/kit/temp_dir.h\"\n", "includes a test header"},
        {"bench/j.cpp", "#include \"tests/cli/cli_run.h\"\n", "includes a test header"},
        {"bench/k.cpp", "#include \"tests/kit/designs.h\"\n", ""},
    };
    for (const Case& c : cases) {
        fs::remove_all(root_);
        fs::create_directories(root_);
        Write(c.file, c.text);
        const auto found = LayerViolations(root_);
        if (std::string(c.expected).empty()) {
            EXPECT_TRUE(found.empty()) << c.file << ": " << Joined(found);
        } else {
            ASSERT_EQ(found.size(), 1u) << c.file << ": " << Joined(found);
            EXPECT_NE(found[0].find(c.expected), std::string::npos) << found[0];
        }
    }
}

} // namespace
