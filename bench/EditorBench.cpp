// The print file editor's costs on a 100-page print file: opening it (read, build the
// document, lay it out completely) against a bare Qt program laying the same text out as
// plain text, and saving it. bench/editor.sh adds LibreOffice converting the same file.
#include "editor/CRichEditDoc.h"
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"
#include "platform/AtomicFile.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

/// About 100 pages of a print file: 55 lines a page, underlined answers, centred heads.
QByteArray hundredPages() {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}\\f0\\fs24\r\n";
    for (int page = 0; page < 100; ++page) {
        rtf += "\\pard\\qc SECTION " + QByteArray::number(page + 1) + "\\par\\pard\\ql\r\n";
        for (int line = 0; line < 54; ++line)
            rtf += "The party {\\ul Jane Q. Roe} agrees to pay the sum stated in paragraph " +
                   QByteArray::number(line) + " on time.\\line\r\n";
        rtf += "\\par\r\n";
    }
    rtf += "}\r\n{\r\n\\mymargl1440\r\n\\mymargr1440\r\n\\mymargt1440\r\n\\mymargb1440\r\n\\orient1\r\n};";
    return rtf;
}

const QByteArray& file() {
    static const QByteArray bytes = hundredPages();
    return bytes;
}

QString plainText() {
    static QString text = [] {
        QTextDocument doc;
        qv::editor::RtfReader::Read(file(), doc);
        return doc.toPlainText();
    }();
    return text;
}

void layOut(QTextDocument& doc) {
    doc.setTextWidth(624); // 6.5 inches at 96 pixels per inch
    benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
}

void BM_OpenHundredPagePrintFile(benchmark::State& state) {
    const QString path = QDir::temp().filePath(QStringLiteral("qv-bench-100.qvp"));
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(file());
    out.close();
    for (auto _ : state) {
        int orientation = 1;
        qv::editor::CRichEditDoc doc(orientation);
        QString error;
        doc.OnOpenDocument(path, error);
        layOut(doc.text());
    }
    QFile::remove(path);
}
BENCHMARK(BM_OpenHundredPagePrintFile)->Unit(benchmark::kMillisecond);

void BM_PlainTextLayoutOfTheSameText(benchmark::State& state) {
    const QString text = plainText();
    for (auto _ : state) {
        QTextDocument doc;
        QFont courier(QStringLiteral("Courier"));
        courier.setPointSize(12);
        doc.setDefaultFont(courier);
        doc.setPlainText(text);
        layOut(doc);
    }
}
BENCHMARK(BM_PlainTextLayoutOfTheSameText)->Unit(benchmark::kMillisecond);

void BM_SaveHundredPagePrintFile(benchmark::State& state) {
    int orientation = 1;
    qv::editor::CRichEditDoc doc(orientation);
    qv::editor::RtfReader::Read(file(), doc.text());
    const QString path = QDir::temp().filePath(QStringLiteral("qv-bench-save.qvp"));
    for (auto _ : state) {
        QString error;
        doc.OnSaveDocument(path, error);
    }
    QFile::remove(path);
}
BENCHMARK(BM_SaveHundredPagePrintFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "--write-sample") {
        // For bench/editor.sh: the same file for LibreOffice.
        QFile out(QString::fromLocal8Bit(argv[2]));
        out.open(QIODevice::WriteOnly);
        out.write(file());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
