// SPDX-License-Identifier: MIT
#include "platform/AppKit/NSTextView.h"

#include <QTextCursor>
#include <QTextDocument>

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The editor turns "\r\n", a lone "\r" and paragraph separators into its own line breaks, which
// would change the text a caller put in (a stored list, a name as the rate page spells it). So
// the exact text is kept beside the editor, with the raw text the editor made of it: as long as
// the editor still holds that, nobody has edited it and the exact text is the answer.
constexpr const char* kExactText = "corvantaExactText";
constexpr const char* kExactRaw = "corvantaExactRaw";

QString rawText(const QPlainTextEdit* editor) {
    return editor->document()->toRawText();
}

void rememberExactText(QPlainTextEdit* editor, std::string_view text) {
    editor->setProperty(kExactText, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    editor->setProperty(kExactRaw, rawText(editor));
}

} // namespace

std::string NSTextStorage::string() const {
    const QVariant exact = editor_->property(kExactText);
    if (exact.isValid() && editor_->property(kExactRaw).toString() == rawText(editor_))
        return exact.toByteArray().toStdString();
    // toPlainText() would turn non-breaking spaces into blanks; the raw text keeps them, and
    // only its paragraph separators stand for the line breaks that were put in.
    QString text = rawText(editor_);
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text.toStdString();
}

void NSTextStorage::setString(std::string_view text) {
    editor_->setPlainText(toQString(text));
    rememberExactText(editor_, text);
}

void NSTextStorage::appendString(std::string_view text) {
    std::string whole = string() + std::string(text);
    // appendPlainText() would start a new paragraph; this adds to the last line instead.
    QTextCursor cursor(editor_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(toQString(text));
    rememberExactText(editor_, whole);
}

NSTextView::NSTextView(QPlainTextEdit* editor) : NSView(editor), editor_(editor) {}
