// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/zip_builder.h"

#include <cstdint>

#include <zlib.h>

namespace edt::test {
namespace {

void put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::string deflated(const std::string& content) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, content.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
    stream.avail_in = static_cast<uInt>(content.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

} // namespace

std::string zipOf(const std::vector<ZipMember>& members) {
    std::string out, directory;
    for (const ZipMember& member : members) {
        const std::string data = member.deflate ? deflated(member.content) : member.content;
        const auto crc = static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(member.content.data()),
                  static_cast<uInt>(member.content.size())));
        const auto size = static_cast<std::uint32_t>(
            member.claimedSize >= 0 ? member.claimedSize : member.content.size());
        std::string common;
        put16(common, 20);                     // version needed
        put16(common, 0);                      // flags
        put16(common, member.deflate ? 8 : 0); // method
        put32(common, 0);                      // time and date
        put32(common, crc);
        put32(common, static_cast<std::uint32_t>(data.size()));
        put32(common, size);
        put16(common, static_cast<unsigned>(member.name.size()));
        put16(common, 0); // extra
        const auto offset = static_cast<std::uint32_t>(out.size());
        put32(out, 0x04034b50);
        out += common + member.name + data;
        put32(directory, 0x02014b50);
        put16(directory, 20); // made by
        directory += common;
        put16(directory, 0); // comment
        put16(directory, 0); // disk
        put16(directory, 0); // internal attributes
        put32(directory, 0); // external attributes
        put32(directory, offset);
        directory += member.name;
    }
    const auto at = static_cast<std::uint32_t>(out.size());
    out += directory;
    put32(out, 0x06054b50);
    put32(out, 0);
    put16(out, static_cast<unsigned>(members.size()));
    put16(out, static_cast<unsigned>(members.size()));
    put32(out, static_cast<std::uint32_t>(directory.size()));
    put32(out, at);
    put16(out, 0);
    return out;
}

std::string workbookOf(const std::string& sheetData, const std::string& strings,
                       const std::string& styles) {
    const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    std::string links = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                        "relationships\"><Relationship Id=\"rId1\" Type=\"" +
                        rel + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>";
    std::vector<ZipMember> members = {
        {"xl/workbook.xml", "<workbook xmlns=\"" + main + "\" xmlns:r=\"" + rel +
                                "\"><sheets><sheet name=\"Texts\" sheetId=\"1\" "
                                "r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/worksheets/sheet1.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<worksheet xmlns=\"" + main +
             "\"><sheetData>" + sheetData + "</sheetData></worksheet>"}};
    if (!strings.empty()) {
        links += "<Relationship Id=\"rId2\" Type=\"" + rel +
                 "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
        members.push_back(
            {"xl/sharedStrings.xml", "<sst xmlns=\"" + main + "\">" + strings + "</sst>"});
    }
    if (!styles.empty()) {
        links +=
            "<Relationship Id=\"rId3\" Type=\"" + rel + "/styles\" Target=\"/xl/styles.xml\"/>";
        members.push_back({"xl/styles.xml", styles});
    }
    members.push_back({"xl/_rels/workbook.xml.rels", links + "</Relationships>", false});
    return zipOf(members);
}

} // namespace edt::test
