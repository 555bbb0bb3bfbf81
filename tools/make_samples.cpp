// SPDX-License-Identifier: GPL-3.0-or-later
// edt-make-samples DIR [ENTRIES]: writes one generated file of every kind into DIR,
// so that the editor has something to open on a fresh machine.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/sample_files.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "Usage: edt-make-samples DIR [ENTRIES]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const std::uint64_t entries = argc == 3 ? std::strtoull(argv[2], nullptr, 10) : 40;
    const char* const names[] = {"email.edt",  "aimbios.edt",   "mercbios.edt", "files.edt",
                                 "quests.edt", "civilians.edt", "strings.edt"};
    for (const char* name : names) {
        const edt::FileKind kind = edt::kindForFileName(name);
        const std::string path = dir + "/" + name;
        if (!edt::samples::writeWholeFile(
                path, edt::samples::makeImage(kind, edt::samples::sampleTexts(kind, entries)))) {
            std::fprintf(stderr, "edt-make-samples: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
