// The print file editor's costs on a 100-page print file: opening it (read, build the
// document, lay it out completely) against a bare Qt program laying the same text out as
// plain text, and saving it; with --libreoffice FILE, opening a document LibreOffice wrote.
// bench/editor.sh adds LibreOffice converting the same print file.
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

/// A document as LibreOffice writes it (bench/make-fifty-pages.sh): read, build the
/// document with its tables, pictures and kept groups, lay it out completely.
void openLibreOfficeDocument(benchmark::State& state, const QString& path) {
    for (auto _ : state) {
        int orientation = 1;
        qv::editor::CRichEditDoc doc(orientation);
        QString error;
        if (!doc.OnOpenDocument(path, error)) {
            state.SkipWithError("the LibreOffice document could not be opened");
            break;
        }
        layOut(doc.text());
    }
}

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
    // --libreoffice FILE: also open that document (bench/editor.sh makes a 50-page one).
    for (int i = 1; i + 1 < argc; ++i)
        if (QByteArray(argv[i]) == "--libreoffice") {
            const QString path = QString::fromLocal8Bit(argv[i + 1]);
            benchmark::RegisterBenchmark("BM_OpenFiftyPageLibreOfficeDocument",
                                         [path](benchmark::State& state) { openLibreOfficeDocument(state, path); })
                ->Unit(benchmark::kMillisecond);
            for (int j = i; j + 2 <= argc; ++j)
                argv[j] = argv[j + 2];
            argc -= 2;
            break;
        }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
