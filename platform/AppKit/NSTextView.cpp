#include "platform/AppKit/NSTextView.h"

#include <QTextCursor>
#include <QTextDocument>

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

std::string NSTextStorage::string() const {
    // toPlainText() would turn non-breaking spaces into blanks; the raw text keeps them, and
    // only its paragraph separators stand for the line breaks that were put in.
    QString text = editor_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text.toStdString();
}

void NSTextStorage::setString(std::string_view text) {
    editor_->setPlainText(toQString(text));
}

void NSTextStorage::appendString(std::string_view text) {
    // appendPlainText() would start a new paragraph; this adds to the last line instead.
    QTextCursor cursor(editor_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(toQString(text));
}

NSTextView::NSTextView(QPlainTextEdit* editor) : NSView(editor), editor_(editor) {}
