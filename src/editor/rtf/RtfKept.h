#pragma once

#include <QTextFormat>

/// How the editor's document carries RTF it reads but cannot show, so that writing the
/// document gives it back where it was: the reader puts it there, the writer takes it
/// out, the window draws a placeholder for it, and the command-line companion counts it.
namespace qv::editor::RtfKept {

/// An inline object (one U+FFFC character) standing for a kept group at its place in the
/// text: a footnote, an annotation, a WMF picture, a field the editor does not show...
/// The user sees a placeholder and can select, move or delete it like a character.
constexpr int kObjectType = QTextFormat::UserObject + 1;

/// On that object's character format: the group's RTF bytes exactly as read, braces
/// included (QByteArray).
constexpr int kGroupProperty = QTextFormat::UserProperty + 1;

/// On that object's character format: the placeholder's short label ("Footnote",
/// "Picture (WMF)", "Field") (QString).
constexpr int kLabelProperty = QTextFormat::UserProperty + 2;

/// On that object's character format: the placeholder's size in points (QSizeF), where
/// the group says how much room it takes (a picture); otherwise the label's size.
constexpr int kSizeProperty = QTextFormat::UserProperty + 3;

/// On the characters of a field's shown result: the field instruction's RTF bytes
/// (QByteArray), so that the writer writes a field back, not plain text. Hyperlinks are
/// shown as anchors (QTextCharFormat::isAnchor) and written back as HYPERLINK fields.
constexpr int kFieldInstructionProperty = QTextFormat::UserProperty + 4;

/// A dynamic property of the QTextDocument (QVariant holding a QList<QByteArray>): the
/// document-level groups and control words kept in the order read (stylesheet, list
/// tables, headers and footers, document and section settings, unknown destinations),
/// written back in the header.
inline constexpr const char* kDocumentGroups = "qvRtfDocumentGroups";

} // namespace qv::editor::RtfKept
