#include "UniString.hpp"

#include "CaseFolding.hpp"
#include "MemoryManager.hpp"
#include "TextEncoding.hpp"

#include <cstring>
#include <string>
#include <utility>

namespace GS {

static_assert(sizeof(UniString) == 16, "records that embed a UniString rely on its size");

namespace {

const char16_t EmptyText[1] = {u'\0'};

UIndex LengthOf(const char16_t* text) {
    UIndex length = 0;
    while (text[length] != u'\0') {
        ++length;
    }
    return length;
}

UIndex ToUIndex(std::size_t count) {
    return static_cast<UIndex>(count);
}

// The buffer of a string with `units` code units: room for them and the terminating NUL.
char16_t* AllocateUnits(UIndex units) {
    return static_cast<char16_t*>(
        MemoryManager::Allocate((static_cast<std::size_t>(units) + 1) * sizeof(char16_t)));
}

// CStr text lives in a memory-manager block: the add-on may destroy the CStr that GSRoot made.
char* CopyToBlock(const std::string& text) {
    auto* copy = static_cast<char*>(MemoryManager::Allocate(text.size() + 1));
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

} // namespace

// ---- CStr

UniString::CStr::CStr(char* ownedText, UIndex textLength) : text(ownedText), length(textLength) {}

UniString::CStr::CStr(CStr&& other) noexcept
    : text(std::exchange(other.text, nullptr)), length(std::exchange(other.length, 0)) {}

UniString::CStr::~CStr() {
    MemoryManager::Free(text);
}

const char* UniString::CStr::Get() const {
    return text != nullptr ? text : "";
}

// ---- construction

UniString::UniString() = default;

UniString::UniString(const char* text, GSCharCode charCode) {
    if (text != nullptr) {
        const std::u16string decoded = TextEncoding::Decode(text, std::strlen(text), charCode);
        Assign(decoded.data(), ToUIndex(decoded.size()));
    }
}

UniString::UniString(const char* text, UIndex byteCount, GSCharCode charCode) {
    if (text != nullptr) {
        const std::u16string decoded = TextEncoding::Decode(text, byteCount, charCode);
        Assign(decoded.data(), ToUIndex(decoded.size()));
    }
}

UniString::UniString(const char16_t* text) {
    if (text != nullptr) {
        Assign(text, LengthOf(text));
    }
}

UniString::UniString(const char16_t* text, UIndex count) {
    if (text != nullptr) {
        Assign(text, count);
    }
}

UniString::UniString(const UniString& other) {
    Assign(other.buffer, other.length);
}

UniString::UniString(UniString&& other) noexcept
    : buffer(std::exchange(other.buffer, nullptr)), length(std::exchange(other.length, 0)),
      capacity(std::exchange(other.capacity, 0)) {}

UniString& UniString::operator=(const UniString& other) {
    if (this != &other) {
        Assign(other.buffer, other.length);
    }
    return *this;
}

UniString& UniString::operator=(UniString&& other) noexcept {
    if (this != &other) {
        MemoryManager::Free(buffer);
        buffer = std::exchange(other.buffer, nullptr);
        length = std::exchange(other.length, 0);
        capacity = std::exchange(other.capacity, 0);
    }
    return *this;
}

UniString::~UniString() {
    MemoryManager::Free(buffer);
}

UniString UniString::FromUTF8(const char* text, UIndex byteCount) {
    return UniString(text, byteCount, CC_UTF8);
}

// ---- access

const char16_t* UniString::ToUStr() const {
    return buffer != nullptr ? buffer : EmptyText;
}

char16_t UniString::operator[](UIndex index) const {
    return index < length ? buffer[index] : u'\0';
}

UniString::CStr UniString::ToCStr(UIndex from, UIndex range, GSCharCode charCode, char convErrorChar) const {
    const UIndex start = from < length ? from : length;
    const UIndex available = length - start;
    const UIndex count = range < available ? range : available;
    const std::string text = TextEncoding::Encode(ToUStr() + start, count, charCode, convErrorChar);
    return CStr(CopyToBlock(text), ToUIndex(text.size()));
}

UniString::CStr UniString::ToUTF8() const {
    const std::string text = TextEncoding::EncodeUtf8Lossy(ToUStr(), length);
    return CStr(CopyToBlock(text), ToUIndex(text.size()));
}

// ---- comparison

bool UniString::IsEqual(const UniString& other, CaseComparison comparison) const {
    if (comparison == CaseSensitive) {
        return length == other.length &&
               (length == 0 || std::memcmp(buffer, other.buffer, length * sizeof(char16_t)) == 0);
    }
    return length == other.length && Compare(other, comparison) == 0;
}

Int32 UniString::Compare(const UniString& other, CaseComparison comparison) const {
    if (comparison == CaseInsensitive) {
        return CaseFolding::CompareFolded(ToUStr(), length, other.ToUStr(), other.length);
    }
    const UIndex common = length < other.length ? length : other.length;
    for (UIndex i = 0; i < common; ++i) {
        if (buffer[i] != other.buffer[i]) {
            return buffer[i] < other.buffer[i] ? -1 : 1;
        }
    }
    if (length == other.length) {
        return 0;
    }
    return length < other.length ? -1 : 1;
}

// ---- changes

UniString& UniString::Append(const UniString& other) {
    return Append(other.buffer, other.length);
}

UniString& UniString::Append(const char16_t* text, UIndex count) {
    if (text == nullptr || count == 0) {
        return *this;
    }
    const UIndex newLength = length + count;
    if (newLength <= capacity) {
        std::memmove(buffer + length, text, count * sizeof(char16_t));
    } else {
        // A fresh buffer before the old one goes: `text` may point into it (s.Append(s)).
        const UIndex newCapacity = newLength < capacity * 2 ? capacity * 2 : newLength;
        char16_t* fresh = AllocateUnits(newCapacity);
        if (length != 0) {
            std::memcpy(fresh, buffer, length * sizeof(char16_t));
        }
        std::memcpy(fresh + length, text, count * sizeof(char16_t));
        MemoryManager::Free(buffer);
        buffer = fresh;
        capacity = newCapacity;
    }
    length = newLength;
    buffer[length] = u'\0';
    return *this;
}

UniString& UniString::operator+=(char16_t unit) {
    return Append(&unit, 1);
}

UniString operator+(const UniString& left, const UniString& right) {
    UniString result;
    result.Reserve(left.length + right.length);
    result.Append(left);
    result.Append(right);
    return result;
}

UniString UniString::GetSubstring(UIndex from, UIndex range) const {
    const UIndex start = from < length ? from : length;
    const UIndex available = length - start;
    return UniString(ToUStr() + start, range < available ? range : available);
}

UIndex UniString::FindFirst(char16_t unit, UIndex from) const {
    for (UIndex i = from; i < length; ++i) {
        if (buffer[i] == unit) {
            return i;
        }
    }
    return MaxUIndex;
}

UniString UniString::ToUpperCase() const {
    UniString result(*this);
    for (UIndex i = 0; i < result.length; ++i) {
        result.buffer[i] = CaseFolding::ToUpper(result.buffer[i]);
    }
    return result;
}

void UniString::Clear() {
    MemoryManager::Free(buffer);
    buffer = nullptr;
    length = 0;
    capacity = 0;
}

void UniString::Assign(const char16_t* text, UIndex count) {
    if (count == 0) {
        Clear();
        return;
    }
    if (count <= capacity) {
        std::memmove(buffer, text, count * sizeof(char16_t));
    } else {
        char16_t* fresh = AllocateUnits(count);
        std::memcpy(fresh, text, count * sizeof(char16_t));
        MemoryManager::Free(buffer);
        buffer = fresh;
        capacity = count;
    }
    length = count;
    buffer[length] = u'\0';
}

void UniString::Reserve(UIndex units) {
    if (units <= capacity) {
        return;
    }
    char16_t* fresh = AllocateUnits(units);
    if (length != 0) {
        std::memcpy(fresh, buffer, length * sizeof(char16_t));
    }
    fresh[length] = u'\0';
    MemoryManager::Free(buffer);
    buffer = fresh;
    capacity = units;
}

} // namespace GS
