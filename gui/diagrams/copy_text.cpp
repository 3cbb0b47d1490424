#include "gui/diagrams/copy_text.h"

#include <QApplication>
#include <QClipboard>

namespace vx {

void CopyTextToClipboard(std::string_view text) {
    QApplication::clipboard()->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace vx
