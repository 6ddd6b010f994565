#include "support/DocFixture.h"

namespace qv::test {

DocFixture::DocFixture()
    : profile(dir / "settings" / "QVLegal.ini"),
      doc(state, DocumentServices{messages, profile, clock, host}) {
    doc.OnNewDocument();
}

bool DocFixture::loadTemplate(const std::string& bytes, const std::string& name) {
    return doc.OnOpenDocument(dir.write(name, bytes).string());
}

} // namespace qv::test
