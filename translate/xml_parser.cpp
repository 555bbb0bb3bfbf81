// SPDX-License-Identifier: GPL-3.0-or-later
#include "translate/xml_parser.h"
#include "translate/translate_status.h"

#include <climits>

#include <expat.h>

namespace edt::translate {
namespace {

// Names come as "namespace|local" from a parser that knows namespaces.
std::string_view localName(const XML_Char* name) {
    const std::string_view full(name);
    const auto bar = full.rfind('|');
    return bar == std::string_view::npos ? full : full.substr(bar + 1);
}

struct Context {
    XmlHandler* handler;
    XML_Parser parser;
    bool declaration = false;
};

void refuseDeclaration(void* data) {
    auto* context = static_cast<Context*>(data);
    context->declaration = true;
    XML_StopParser(context->parser, XML_FALSE);
}

} // namespace

std::string_view attributeOf(const char** attributes, std::string_view name) {
    for (const char** a = attributes; a && a[0]; a += 2)
        if (localName(a[0]) == name)
            return a[1];
    return {};
}

Status parseXml(std::string_view xml, const std::string& name, XmlHandler& handler) {
    Status status = Status::error(translate::Code::UnreadableXlsx);
    if (xml.size() > INT_MAX) {
        status.detail = "its part " + name + " is too large";
        return status;
    }
    XML_Parser parser = XML_ParserCreateNS(nullptr, '|');
    if (!parser) {
        status.detail = "there is not enough memory to read its part " + name;
        return status;
    }
    Context context{&handler, parser};
    XML_SetUserData(parser, &context);
    XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char* element, const XML_Char** attributes) {
            static_cast<Context*>(data)->handler->start(localName(element), attributes);
        },
        [](void* data, const XML_Char* element) {
            static_cast<Context*>(data)->handler->end(localName(element));
        });
    XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
        static_cast<Context*>(data)->handler->text(
            std::string_view(text, static_cast<std::size_t>(length)));
    });
    XML_SetStartDoctypeDeclHandler(parser, [](void* data, const XML_Char*, const XML_Char*,
                                              const XML_Char*, int) { refuseDeclaration(data); });
    XML_SetEntityDeclHandler(parser, [](void* data, const XML_Char*, int, const XML_Char*, int,
                                        const XML_Char*, const XML_Char*, const XML_Char*,
                                        const XML_Char*) { refuseDeclaration(data); });
    const bool parsed =
        XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), XML_TRUE) == XML_STATUS_OK;
    if (context.declaration)
        status.detail = "its part " + name + " declares a document type or entities";
    else if (!parsed)
        status.detail = "its part " + name + " is not well-formed XML (line " +
                        std::to_string(XML_GetCurrentLineNumber(parser)) + ": " +
                        XML_ErrorString(XML_GetErrorCode(parser)) + ")";
    XML_ParserFree(parser);
    return context.declaration || !parsed ? status : Status::success();
}

} // namespace edt::translate
