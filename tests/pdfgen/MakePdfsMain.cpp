// pz-make-pdfs DIR COUNT PAGES [PAD_BYTES] [KIND]
// Writes COUNT files DIR/docNNNN.pdf for the benchmark script. KIND is "clean"
// (default), "repair", "damaged", "notpdf", "deep" (PAGES is the depth), "bomb"
// (PAD_BYTES is the inflated size), or one of the structure cases ("features",
// "incremental", "objstm", "linearized", "hybrid", "wrong-offset", "wrong-length", "stray-hash").

#include "StructurePdf.h"
#include "TestPdf.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s DIR COUNT PAGES [PAD_BYTES] [KIND]\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1];
    int count = std::atoi(argv[2]);
    int pages = std::atoi(argv[3]);
    unsigned long long pad = argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 0;
    std::string kind = argc > 5 ? argv[5] : "clean";
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/doc%04d.pdf", i);
        std::string path = dir + name;
        bool ok = false;
        if (kind == "clean")
            ok = TestPdf::WritePages(path, pages, pad);
        else if (kind == "repair")
            ok = TestPdf::WriteNeedsRepair(path, pages);
        else if (kind == "damaged")
            ok = TestPdf::WriteDamaged(path);
        else if (kind == "notpdf")
            ok = TestPdf::WriteNotPdf(path);
        else if (kind == "deep")
            ok = TestPdf::WriteDeepPageTree(path, pages);
        else if (kind == "bomb")
            ok = TestPdf::WriteDecompressionBomb(path, pad);
        for (int k = 0; k <= static_cast<int>(StructurePdf::Kind::StrayHash); ++k)
            if (kind == StructurePdf::Name(static_cast<StructurePdf::Kind>(k)))
                ok = StructurePdf::Write(path, static_cast<StructurePdf::Kind>(k));
        if (!ok) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
