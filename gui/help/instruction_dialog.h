// The two instruction windows of the Help menu: "Instructions" (TInst, the
// text file "instruct.doc") and "Vexlin Special Instructions" (TVexlinSpInst,
// "VexlinSpIns.doc"). Each loads its text once, when it is created at
// start-up; a file that cannot be loaded costs one error message and leaves
// the text box with its first text, "Memo1".
#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vx {

// The outcome of loading an instruction text.
struct InstructionText {
    bool ok = false;
    QString text;  // the file's lines, joined by "\n"
    QString path;  // where it was found
    QString error; // the platform's reason when not ok
};

// Loads the text file `name`, looked up among `folders` in order. Files
// larger than kMaxInstructionBytes are refused.
InstructionText LoadInstructionText(const QString& name, const std::vector<std::filesystem::path>& folders);
constexpr qint64 kMaxInstructionBytes = 4 * 1024 * 1024;

// Shows the load failure message to the user. The program shows a message
// box with an "OK" button; tests record the message instead.
using LoadErrorReport = std::function<void(const QString& message)>;
void ShowLoadErrorBox(const QString& message);

// Where the windows look for their files and how they report a failure.
struct InstructionSource {
    std::vector<std::filesystem::path> folders; // empty: this process's data folders
    LoadErrorReport report;                     // empty: ShowLoadErrorBox
};

class InstructionDialog : public QDialog {
    Q_OBJECT

public:
    // The text box's size; the Close button's row lies under it.
    static constexpr int kClientWidth = 427;
    static constexpr int kClientHeight = 273;

    QPlainTextEdit* Memo1() const { return memo1_; }
    QLabel* Label1() const { return label1_; }
    QPushButton* CloseButton() const { return close_; }

protected:
    InstructionDialog(const char* caption, const char* fileName, QWidget* parent);
    // Loads the file into the text box (called by the windows' constructors,
    // after they have styled their controls).
    void Load(const InstructionSource& source);

private:
    QString fileName_;
    QLabel* label1_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
    QPushButton* close_ = nullptr;
};

class TInst final : public InstructionDialog {
    Q_OBJECT

public:
    static constexpr const char* kFileName = "instruct.doc";
    explicit TInst(QWidget* parent = nullptr, const InstructionSource& source = {});
};

class TVexlinSpInst final : public InstructionDialog {
    Q_OBJECT

public:
    static constexpr const char* kFileName = "VexlinSpIns.doc";
    explicit TVexlinSpInst(QWidget* parent = nullptr, const InstructionSource& source = {});
};

} // namespace vx
