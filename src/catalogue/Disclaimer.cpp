#include "catalogue/Disclaimer.h"

namespace qv::catalogue {

const std::string& Disclaimer::Text() {
    static const std::string text =
        "This product is a self-help legal product. It is sold for the buyer's own personal or business use "
        "only. You may make copies of the forms you fill in for your own records and for the other parties "
        "to your documents, but you may not copy the program or the blank forms for anyone else, resell "
        "them, lend them out, or use them to offer a commercial form-preparation service to others. All "
        "rights not expressly granted here are reserved by Q-V Davov Software. Using this product means you "
        "accept these terms.\r\n\r\n"
        "The forms were prepared with care to reflect general legal principles, but their accuracy and "
        "fitness for your situation cannot be guaranteed. Laws change often, they differ from state to "
        "state and from one locality to another, and courts do not always read the same words the same way. "
        "A form that is sound in one state may be incomplete or unsuitable in another, and a form that was "
        "right when it was written may have been overtaken by a new statute or a recent decision.\r\n\r\n"
        "Whenever the stakes are high, or your situation is unusual, you should consult an attorney "
        "licensed in your state before you sign or rely on any document. When you use these forms without "
        "the advice of an attorney, you are acting as your own attorney, and you take on the responsibility "
        "of deciding whether a form suits your needs and whether you have completed it correctly. An "
        "attorney can also tell you about filing, recording or witnessing rules that apply where you "
        "live.\r\n\r\n"
        "Neither the publisher nor any dealer, distributor or other person selling this product gives legal "
        "advice, and nothing in the forms, the help file or the printed material is legal advice. The "
        "publisher and everyone selling this product accept no liability of any kind for any loss or "
        "damage, direct or indirect, that may arise from the use of these forms or of the program, "
        "including any loss arising from errors, omissions or changes in the law.\r\n\r\n"
        "The publisher warrants the disks on which the product is delivered to be free of defects in "
        "materials and workmanship for ninety (90) days from the date of purchase. A defective disk "
        "returned within that time will be replaced free of charge. This is the only warranty given, and it "
        "is given in place of all other warranties, express or implied, including warranties of "
        "merchantability and fitness for a particular purpose. In no event shall the liability of the "
        "publisher or of anyone selling this product exceed the purchase price you paid for it.";
    return text;
}

} // namespace qv::catalogue
