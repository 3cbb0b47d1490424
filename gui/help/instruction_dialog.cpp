#include "gui/help/instruction_dialog.h"
#include "platform/qt/qt_fonts.h"

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>

#include "gui/help/close_button.h"
#include "platform/data_files.h"
#include "platform/qt/qt_startup_log.h"

namespace vx {

namespace {

// "MS Sans Serif" of height 11, with a face every Debian desktop has.
QFont TextBoxFont() { return UiFont(UiFace::Sans, 11); }

// The lines of a text file: UTF-8, or, when the bytes are not UTF-8, the
// 8-bit Latin-1 of older text files; any line end; no empty last line for
// a final line end.
QString DecodeLines(const QByteArray& bytes) {
    auto utf8 = QStringDecoder(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) text = QString::fromLatin1(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    return text;
}

} // namespace

InstructionText LoadInstructionText(const QString& name, const std::vector<std::filesystem::path>& folders) {
    InstructionText result;
    const std::string found = FindDataFile(name.toStdString(), folders);
    if (found.empty()) {
        result.error = QString::fromLocal8Bit(std::strerror(ENOENT));
        return result;
    }
    result.path = QString::fromStdString(found);
    QFile file(result.path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    if (file.size() > kMaxInstructionBytes) {
        result.error = QStringLiteral("the file is larger than %1 MB").arg(kMaxInstructionBytes / (1024 * 1024));
        return result;
    }
    // Read at most one byte past the limit: a file that grows while it is
    // read (or a device that reports no size) is still refused.
    const QByteArray bytes = file.read(kMaxInstructionBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        return result;
    }
    if (bytes.size() > kMaxInstructionBytes) {
        result.error = QStringLiteral("the file is larger than %1 MB").arg(kMaxInstructionBytes / (1024 * 1024));
        return result;
    }
    result.text = DecodeLines(bytes);
    result.ok = true;
    return result;
}

void ShowLoadErrorBox(const QString& message) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Vexlin"), message, QMessageBox::Ok);
    box.exec();
}

InstructionDialog::InstructionDialog(const char* caption, const char* fileName, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      fileName_(QString::fromUtf8(fileName)) {
    setWindowTitle(QString::fromUtf8(caption));
    setFixedSize(kClientWidth, kClientHeight + kCloseRowHeight);

    // The label lies under the text box.
    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->move(8, 8);

    memo1_ = new QPlainTextEdit(this);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setReadOnly(true);
    memo1_->setFont(TextBoxFont());
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo1_->setPlainText(QStringLiteral("Memo1"));
    // The whole client area, the scroll bar included.
    memo1_->setGeometry(0, 0, kClientWidth, kClientHeight);
    memo1_->raise();
    close_ = AddCloseButton(this, kClientWidth, kClientHeight);
    // The text box opens ready to scroll with the keys; Tab reaches Close.
    setTabOrder(memo1_, close_);
}

void InstructionDialog::Load(const InstructionSource& source) {
    const InstructionText t =
        LoadInstructionText(fileName_, source.folders.empty() ? ProcessDataFileFolders() : source.folders);
    if (t.ok) {
        memo1_->setPlainText(t.text);
        qCInfo(lcVexlinStartup).noquote() << fileName_ << "loaded from" << t.path;
    }
    label1_->setText(fileName_);
    label1_->adjustSize();
    if (!t.ok) {
        const QString message = QStringLiteral("Error Loading ") + fileName_ + QStringLiteral(": ") + t.error;
        qCInfo(lcVexlinStartup).noquote() << message;
        if (source.report)
            source.report(message);
        else
            ShowLoadErrorBox(message);
    }
}

TInst::TInst(QWidget* parent, const InstructionSource& source)
    : InstructionDialog("Instructions", kFileName, parent) {
    setObjectName(QStringLiteral("Inst"));
    Label1()->setFont(UiFont(UiFace::Sans, 16, true));
    QPalette p = Label1()->palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label1()->setPalette(p);
    Load(source);
}

TVexlinSpInst::TVexlinSpInst(QWidget* parent, const InstructionSource& source)
    : InstructionDialog("Vexlin Special Instructions", kFileName, parent) {
    setObjectName(QStringLiteral("VexlinSpInst"));
    Load(source);
}

} // namespace vx
