// qv_forms_archive OUT FORM.qvf...: the forms archive of the install disk, one record per
// form named by its file name without the extension (at most four characters).
#include "platform/AtomicFile.h"
#include "setup/FormsArchive.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: qv_forms_archive OUT FORM.qvf...\n", stderr);
        return 2;
    }
    std::vector<qv::setup::FormsArchive::Record> records;
    for (int i = 2; i < argc; ++i) {
        std::string bytes;
        if (qv::platform::AtomicFile::read(argv[i], bytes, qv::setup::FormsArchive::kMaxRecord)) {
            std::fprintf(stderr, "qv_forms_archive: cannot read %s (or it is over 30000 bytes)\n", argv[i]);
            return 1;
        }
        records.push_back({std::filesystem::path(argv[i]).stem().string().substr(0, 4), bytes});
    }
    return qv::platform::AtomicFile::write(argv[1], qv::setup::FormsArchive::Write(records)) ? 1 : 0;
}
