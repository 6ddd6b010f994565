#pragma once

#include <QByteArray>
#include <QString>

namespace qv::editor {

/// The text of a field instruction group ({\*\fldinst ...}) and the link it makes.
class RtfFieldInstruction {
public:
    /// The instruction as plain text: control words and braces gone, escapes resolved.
    static QString Text(const QByteArray& group);
    /// The target of a HYPERLINK field ("url", or "#name" for \l "name"); empty otherwise.
    static QString Hyperlink(const QByteArray& group);
    /// A HYPERLINK instruction group for `href`.
    static QByteArray ForHyperlink(const QString& href);
};

} // namespace qv::editor
