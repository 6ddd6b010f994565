// Arbitrary bytes as RTF: no crash, no hang, no unbounded allocation; what is read is
// written as whole RTF, read back as the same document and written again as the same bytes.
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfTokenizer.h"
#include "editor/rtf/RtfWriter.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    // Every input is taken as the body of an RTF document.
    const QByteArray rtf =
        "{\\rtf1 " + QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument doc;
    qv::editor::RtfReader::Read(rtf, doc);
    // Round trip: what the writer gives back reads as the same document, so a second
    // write is the same bytes and the same text.
    const QByteArray written = qv::editor::RtfWriter::Write(doc);
    if (!qv::editor::RtfTokenizer::Balanced(written)) // every group written is closed
        std::abort();
    QTextDocument again;
    if (!qv::editor::RtfReader::Read(written, again))
        std::abort();
    if (again.toPlainText() != doc.toPlainText() || qv::editor::RtfWriter::Write(again) != written)
        std::abort();
    return 0;
}
