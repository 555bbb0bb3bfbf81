// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a PO translation of a sample email.edt, through the import plan: it
// never writes, its counts add up to the file's entries, every planned write fits the
// bytes of its entry, and input that ends in the middle of a line is a problem.
#include "fuzz/fuzz_support.h"
#include "record/reader.h"
#include "record/text_codec.h"
#include "tests/support/test_support.h"
#include "tools/sample_files.h"
#include "translate/import_plan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const edt::FileKind kind = edt::kindForFileName("email.edt");
    static const std::string image =
        edt::samples::makeImage(kind, edt::samples::sampleTexts(kind, 4));
    const std::string path = edt::fuzz::scratchDir() + "/email.edt";
    edt::fuzz::writeWholeFile(path, image);
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    edt::translate::Translation translation;
    FUZZ_CHECK(parseTranslation(input, edt::translate::TranslationFormat::Po, translation).ok());
    FUZZ_CHECK(!translation.problems.empty() || input.empty() || input.back() == '\n' ||
               input.back() == '\r');
    edt::translate::ImportPlan plan;
    // Half the runs read the originals in another code page, recoding them or not.
    const edt::CodePage& page = edt::test::codePage();
    const edt::CodePage& source = size % 4 >= 2 ? edt::test::codePage("1251") : page;
    edt::OpenFile file;
    FUZZ_CHECK(file.open(path, kind, nullptr).ok());
    FUZZ_CHECK(edt::translate::planImport(file, translation, page, source,
                                          {size % 2 == 1, size % 8 >= 4}, plan)
                   .ok());
    const edt::EntryLayout layout(kind, image.size());
    FUZZ_CHECK(plan.changed + plan.unchanged + plan.untranslated == layout.entryCount());
    FUZZ_CHECK(plan.writes.size() == plan.changed + plan.recoded &&
               plan.lines.size() == plan.writes.size());
    for (const edt::EntryWrite& write : plan.writes) {
        const std::int64_t index = layout.indexOfKey(write.key);
        FUZZ_CHECK(index >= 0);
        FUZZ_CHECK(edt::encodeText(write.text).size() <=
                   static_cast<std::size_t>(layout.presentOf(static_cast<std::uint64_t>(index))));
    }
    FUZZ_CHECK(edt::fuzz::readWholeFile(path) == image);
    return 0;
}
