#include "Xml/XmlReader.hpp"

#include <expat.h>

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <new>

namespace AnalysisApp {
namespace {

// No part of a spreadsheet workbook comes near these.
constexpr std::size_t MaxTokenBytes = std::size_t{4} << 20;
constexpr std::size_t MaxDepth = 1024;
constexpr std::size_t MaxAttributes = 1024;
constexpr std::size_t MaxParserMemory = std::size_t{64} << 20;

// A name's length and where its local part starts ("x:row": 5 and 2), in one pass over the short
// names of a tag; `qualified` false for a colon that namespaces cannot read (":row", "row:", "a:b:c").
struct NameParts {
    std::size_t length = 0;
    std::size_t local = 0;
    bool qualified = true;
};

NameParts PartsOf(const char* name) {
    NameParts parts;
    std::size_t colons = 0;
    for (; name[parts.length] != '\0'; ++parts.length) {
        if (name[parts.length] == ':') {
            ++colons;
            parts.local = parts.length + 1;
        }
    }
    parts.qualified = colons == 0 || (colons == 1 && parts.local > 1 && parts.local < parts.length);
    return parts;
}

bool BeginsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool IsSpace(char character) {
    return character == ' ' || character == '\t' || character == '\n' || character == '\r';
}

// Whether `bytes` begin with a character that XML allows, in UTF-8 (no control character, surrogate,
// U+FFFE, U+FFFF or overlong form): expat calls both a bad character and bad markup an invalid token.
bool BeginsLegalCharacter(std::string_view bytes) {
    const auto byte = [&](std::size_t index) {
        return index < bytes.size() ? static_cast<unsigned char>(bytes[index]) : 0u;
    };
    const unsigned lead = byte(0);
    if (lead < 0x80) {
        return lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r';
    }
    std::size_t length = 4;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return false;
    }
    // A character cut by the end of what expat holds was not what expat refused: it judges one whole.
    if (bytes.size() > 1 && (byte(1) < low || byte(1) > high)) {
        return false;
    }
    for (std::size_t index = 2; index < std::min(length, bytes.size()); ++index) {
        if ((byte(index) & 0xC0) != 0x80) {
            return false;
        }
    }
    return !(lead == 0xEF && byte(1) == 0xBF && byte(2) >= 0xBE);
}

} // namespace

// expat's callbacks, and the memory functions that count its heap. Nothing may be thrown through expat's
// C code: what the handler throws is kept and thrown again once expat has returned.
struct XmlReader::Events {
    // The reader whose expat call is under way, whose memory an allocation is charged to. A block
    // remembers its account, so that it is given back to it wherever it is freed.
    static inline thread_local Memory* charged = nullptr;
    struct alignas(std::max_align_t) Header {
        Memory* account;
        std::size_t size;
    };

    static void* Allocate(std::size_t size) {
        Memory* account = charged;
        assert(account != nullptr);
        if (size > MaxParserMemory - std::min(account->used, MaxParserMemory)) {
            account->overdrawn = true;
            return nullptr;
        }
        void* block = std::malloc(sizeof(Header) + size);
        if (block == nullptr) {
            return nullptr;
        }
        new (block) Header{account, size};
        account->used += size;
        return static_cast<char*>(block) + sizeof(Header);
    }
    static void* Reallocate(void* pointer, std::size_t size) {
        if (pointer == nullptr) {
            return Allocate(size);
        }
        auto* header = reinterpret_cast<Header*>(static_cast<char*>(pointer) - sizeof(Header));
        Memory* account = header->account;
        const std::size_t before = header->size;
        if (size > before && size - before > MaxParserMemory - std::min(account->used, MaxParserMemory)) {
            account->overdrawn = true;
            return nullptr;
        }
        void* block = std::realloc(header, sizeof(Header) + size);
        if (block == nullptr) {
            return nullptr;
        }
        static_cast<Header*>(block)->size = size;
        account->used = account->used - before + size;
        return static_cast<char*>(block) + sizeof(Header);
    }
    static void Free(void* pointer) {
        if (pointer != nullptr) {
            auto* header = reinterpret_cast<Header*>(static_cast<char*>(pointer) - sizeof(Header));
            header->account->used -= header->size;
            std::free(header);
        }
    }

    // Charges what expat allocates during a call to this reader.
    class Charging {
    public:
        explicit Charging(Memory& memory) : previous(charged) { charged = &memory; }
        ~Charging() { charged = previous; }
        Charging(const Charging&) = delete;
        Charging& operator=(const Charging&) = delete;

    private:
        Memory* previous;
    };

    template <typename Work>
    static void Guarded(void* data, Work work) {
        auto& reader = *static_cast<XmlReader*>(data);
        if (!reader.error.empty() || reader.thrown) {
            return; // expat may still report what it had begun after it was stopped
        }
        try {
            work(reader);
        } catch (...) {
            reader.thrown = std::current_exception();
            XML_StopParser(reader.parser, XML_FALSE);
        }
    }

    static void XMLCALL Start(void* data, const XML_Char* qualifiedName, const XML_Char** expatAttributes) {
        Guarded(data, [&](XmlReader& reader) {
            reader.textRun = 0;
            const NameParts name = PartsOf(qualifiedName);
            if (!name.qualified) {
                reader.Fail("an element name with a colon that is no qualified name", reader.Here() + 1);
                return;
            }
            if (reader.open.size() >= MaxDepth) {
                reader.Fail("elements nested deeper than " + std::to_string(MaxDepth), reader.Here());
                return;
            }
            auto& pairs = reader.attributes.pairs;
            pairs.clear();
            for (const XML_Char** attribute = expatAttributes; *attribute != nullptr; attribute += 2) {
                const NameParts attributeName = PartsOf(attribute[0]);
                if (!attributeName.qualified) {
                    reader.Fail("an attribute name with a colon that is no qualified name", reader.Here());
                    return;
                }
                if (pairs.size() == MaxAttributes) {
                    reader.Fail("more than " + std::to_string(MaxAttributes) + " attributes on one element",
                                reader.Here());
                    return;
                }
                pairs.emplace_back(std::string_view(attribute[0] + attributeName.local,
                                                    attributeName.length - attributeName.local),
                                   attribute[1]);
            }
            reader.Open(qualifiedName, name.length, name.local);
            reader.handler.StartElement(
                std::string_view(qualifiedName + name.local, name.length - name.local), reader.attributes);
        });
    }

    static void XMLCALL End(void* data, const XML_Char* /*qualifiedName: the innermost open element's*/) {
        Guarded(data, [&](XmlReader& reader) {
            reader.textRun = 0;
            const OpenElement element = reader.open.back();
            reader.open.pop_back();
            reader.handler.EndElement(
                std::string_view(reader.openNames).substr(element.local, element.end - element.local));
        });
    }

    static void XMLCALL Text(void* data, const XML_Char* text, int length) {
        Guarded(data, [&](XmlReader& reader) {
            reader.textRun += static_cast<std::size_t>(length);
            if (reader.textRun > MaxTokenBytes) {
                reader.Fail("a token longer than " + std::to_string(MaxTokenBytes >> 20) + " MiB",
                            reader.Here());
                return;
            }
            reader.handler.Text(std::string_view(text, static_cast<std::size_t>(length)));
        });
    }

    // Everything else: the XML declaration, comments, processing instructions, space outside the root,
    // and the start of a document type declaration, which is refused before anything in it is read.
    static void XMLCALL Other(void* data, const XML_Char* text, int length) {
        Guarded(data, [&](XmlReader& reader) {
            reader.textRun = 0;
            if (BeginsWith(std::string_view(text, static_cast<std::size_t>(length)), "<!DOCTYPE")) {
                reader.Fail("a document type declaration (DTD), which is not allowed", reader.Here());
            }
        });
    }
};

XmlReader::XmlReader(XmlInput& source, XmlHandler& events) : input(source), handler(events) {
    static const XML_Memory_Handling_Suite counted{Events::Allocate, Events::Reallocate, Events::Free};
    const Events::Charging charging(memory);
    // UTF-8 whatever the declaration says: a workbook's parts are UTF-8.
    parser = XML_ParserCreate_MM("UTF-8", &counted, nullptr);
    if (parser == nullptr) {
        throw std::bad_alloc();
    }
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, Events::Start, Events::End);
    XML_SetCharacterDataHandler(parser, Events::Text);
    XML_SetDefaultHandlerExpand(parser, Events::Other);
#ifdef VELD_EXPAT_REPARSE_DEFERRAL
    // Read paces expat itself: it must parse whatever it is given, so that the token a piece cut is known.
    XML_SetReparseDeferralEnabled(parser, XML_FALSE);
#endif
    // A second guard behind the refusal of DTDs: entities could inflate only through one.
    XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser, 2.0F);
    XML_SetBillionLaughsAttackProtectionActivationThreshold(parser, MaxTokenBytes);
}

XmlReader::~XmlReader() {
    const Events::Charging charging(memory);
    XML_ParserFree(parser);
}

void XmlReader::Pause() {
    XML_StopParser(parser, XML_TRUE);
}

std::uint64_t XmlReader::Here() const {
    const XML_Index index = XML_GetCurrentByteIndex(parser);
    return index < 0 ? fed : static_cast<std::uint64_t>(index);
}

void XmlReader::Fail(const std::string& reason, std::uint64_t offset) {
    error = reason + " at byte " + std::to_string(offset);
    finished = true;
    if (!suspended) {
        XML_StopParser(parser, XML_FALSE);
    }
}

void XmlReader::Open(const char* name, std::size_t length, std::size_t localStart) {
    const std::size_t start = open.empty() ? 0 : open.back().end;
    if (openNames.size() < start + length) {
        openNames.resize(2 * (start + length));
    }
    for (std::size_t index = 0; index < length; ++index) {
        openNames[start + index] = name[index]; // names are short: a call to memcpy costs more
    }
    open.push_back({start, start + localStart, start + length});
    rootSeen = true;
}

std::string_view XmlReader::Innermost() const {
    return std::string_view(openNames).substr(open.back().start, open.back().end - open.back().start);
}

XmlReader::Status XmlReader::Read() {
    for (;;) {
        if (finished) {
            return error.empty() ? Status::Done : Status::Failed;
        }
        XML_Status result = XML_STATUS_OK;
        bool last = false;
        {
            const Events::Charging charging(memory);
            if (suspended) {
                suspended = false;
                result = XML_ResumeParser(parser);
                last = inputEnded && consumed == pending.size();
            } else {
                // A token cut by the end of what expat was given is scanned again from its start with the
                // next piece: give it at least as many new bytes as it holds, so that a long token costs
                // time in proportion to its length; and never so many that a token could pass the limit
                // unseen.
                const std::uint64_t wanted = std::max<std::uint64_t>(unfinished, 1);
                if (consumed != 0 && pending.size() - consumed < wanted) {
                    pending.erase(0, consumed); // what the last call left over, before more is read
                    consumed = 0;
                }
                while (!inputEnded && pending.size() - consumed < wanted) {
                    const std::size_t before = pending.size();
                    inputEnded = !input.ReadMore(pending);
                    received += pending.size() - before;
                }
                if (inputEnded && !input.Failure().empty()) {
                    Fail("the document cannot be read: " + input.Failure(), received);
                    continue;
                }
                const std::size_t available = pending.size() - consumed;
                const std::size_t given =
                    static_cast<std::size_t>(std::min<std::uint64_t>(available, MaxTokenBytes - unfinished));
                last = inputEnded && given == available;
                result = XML_Parse(parser, pending.data() + consumed, static_cast<int>(given), last ? 1 : 0);
                consumed += given;
                fed += given;
                if (consumed == pending.size()) {
                    pending.clear();
                    consumed = 0;
                }
            }
        }
        if (thrown) {
            finished = true;
            std::rethrow_exception(thrown);
        }
        if (!error.empty()) {
            continue; // refused by a callback
        }
        if (result == XML_STATUS_SUSPENDED) {
            suspended = true;
            return Status::Paused;
        }
        if (result == XML_STATUS_ERROR) {
            const XML_Index index = XML_GetCurrentByteIndex(parser);
            std::uint64_t at = index < 0 ? fed : static_cast<std::uint64_t>(index);
            const std::string reason = DescribeExpatError();
            if (XML_GetErrorCode(parser) == XML_ERROR_TAG_MISMATCH) {
                at -= std::min<std::uint64_t>(at, 2); // expat points at the name, after "</"
            }
            Fail(reason, at);
            continue;
        }
        if (last) {
            finished = true;
            continue;
        }
        const XML_Index index = XML_GetCurrentByteIndex(parser);
        unfinished = index < 0 ? 0 : fed - std::min(fed, static_cast<std::uint64_t>(index));
        if (unfinished >= MaxTokenBytes) {
            Fail("a token longer than " + std::to_string(MaxTokenBytes >> 20) + " MiB", fed - unfinished);
        }
    }
}

// expat's verdict in the words of a workbook reader, from the error and the bytes around it.
std::string XmlReader::DescribeExpatError() {
    int offset = 0;
    int size = 0;
    const char* context = XML_GetInputContext(parser, &offset, &size);
    const std::string_view buffer =
        context == nullptr ? std::string_view() : std::string_view(context, static_cast<std::size_t>(size));
    // What came before, as far as expat keeps it wherever its pieces broke the document.
    const std::string_view upToHere = buffer.substr(0, static_cast<std::size_t>(offset));
    const std::string_view before =
        upToHere.substr(upToHere.size() - std::min<std::size_t>(upToHere.size(), 1024));
    const std::string_view here = buffer.substr(static_cast<std::size_t>(offset));
    const bool inRoot = !open.empty();
    switch (XML_GetErrorCode(parser)) {
    case XML_ERROR_NO_MEMORY:
        if (!memory.overdrawn) {
            throw std::bad_alloc();
        }
        return "more than " + std::to_string(MaxParserMemory >> 20) +
               " MiB of parser memory (more names or longer tokens than a workbook has)";
    case XML_ERROR_TAG_MISMATCH:
        return "end tag </" + std::string(here.substr(0, here.find_first_of(" \t\r\n>"))) + "> where </" +
               std::string(Innermost()) + "> belongs";
    case XML_ERROR_NO_ELEMENTS:
        return inRoot ? "element <" + std::string(Innermost()) + "> is not closed" : "no root element";
    case XML_ERROR_DUPLICATE_ATTRIBUTE:
        return "an attribute given twice";
    case XML_ERROR_UNDEFINED_ENTITY:
    case XML_ERROR_BAD_CHAR_REF:
    case XML_ERROR_BINARY_ENTITY_REF:
    case XML_ERROR_RECURSIVE_ENTITY_REF:
    case XML_ERROR_ASYNC_ENTITY:
    case XML_ERROR_ATTRIBUTE_EXTERNAL_ENTITY_REF:
    case XML_ERROR_PARAM_ENTITY_REF:
        return "bad entity reference";
    case XML_ERROR_PARTIAL_CHAR:
        return "a byte that is no legal character";
    case XML_ERROR_MISPLACED_XML_PI:
        return "an XML declaration that is not at the start";
    case XML_ERROR_XML_DECL:
        return "a malformed XML declaration";
    case XML_ERROR_UNCLOSED_CDATA_SECTION:
        return "unterminated CDATA section";
    case XML_ERROR_AMPLIFICATION_LIMIT_BREACH:
        return "entities that inflate the document";
    case XML_ERROR_UNCLOSED_TOKEN:
        for (const auto& [start, what] : {std::pair<std::string_view, std::string_view>{"<!--", "comment"},
                                          {"<![CDATA[", "CDATA section"},
                                          {"<?", "processing instruction"},
                                          {"</", "end tag"},
                                          {"<!", "markup declaration"},
                                          {"<", "start tag"}}) {
            if (BeginsWith(here, start)) {
                return "unterminated " + std::string(what);
            }
        }
        return "unterminated token";
    case XML_ERROR_JUNK_AFTER_DOC_ELEMENT:
        if (BeginsWith(here, "<?xml")) {
            return "an XML declaration that is not at the start";
        }
        if (BeginsWith(here, "<![")) {
            return "a CDATA section outside the root element";
        }
        return BeginsWith(here, "<") ? "a second root element" : "text after the root element";
    case XML_ERROR_INVALID_TOKEN:
    case XML_ERROR_SYNTAX: {
        // Right after the start of markup, expat refuses a byte for what the markup needs there, before
        // it would judge the character.
        if (!before.empty() && before.back() == '<') {
            return BeginsWith(here, "/") && !inRoot ? "an end tag without its element"
                                                    : "an element name that is no XML name";
        }
        if (before.size() >= 2 && before[before.size() - 2] == '<' &&
            std::string_view("!?/").find(before.back()) != std::string_view::npos) {
            return "malformed markup";
        }
        if (!BeginsLegalCharacter(here)) {
            return "a byte that is no legal character";
        }
        // Outside the root, a fault inside a tag is the tag's; what is neither inside a tag nor the start
        // of one is text.
        const std::size_t lastOpen = before.rfind('<');
        const bool inTag = lastOpen != std::string_view::npos &&
                           (before.rfind('>') == std::string_view::npos || before.rfind('>') < lastOpen);
        if (inRoot || inTag) {
            return "malformed markup";
        }
        const bool afterText = !before.empty() && !IsSpace(before.back()) && before.back() != '>';
        if (!afterText && BeginsWith(here, "<![")) {
            return "a CDATA section outside the root element";
        }
        if (afterText || !BeginsWith(here, "<")) {
            return rootSeen ? "text after the root element" : "text before the root element";
        }
        return "malformed markup";
    }
    default:
        return XML_ErrorString(XML_GetErrorCode(parser));
    }
}

std::string ReadXml(XmlInput& input, XmlHandler& handler) {
    XmlReader reader(input, handler);
    while (reader.Read() == XmlReader::Status::Paused) {
    }
    return reader.Error();
}

} // namespace AnalysisApp
