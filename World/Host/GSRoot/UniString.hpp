#pragma once

#include "GSRootExport.hpp"
#include "GSTypes.hpp"

namespace GS {

constexpr UIndex MaxUIndex = 0xFFFFFFFFu;

// How two texts are compared. The values are the host's.
enum CaseComparison : Int32 { CaseSensitive = 0, CaseInsensitive = 1 };

// The host's Unicode string: UTF-16 code units in a buffer from GS::MemoryManager, so a string made
// on either side of the add-on boundary may be changed or destroyed on the other. Layout (16 bytes,
// relied on by records that embed a string): buffer pointer, length in code units, capacity.
// An empty string holds no buffer. Texts may hold any code unit, including unpaired surrogates.
class GSROOT_API UniString {
public:
    // The 8-bit text of a UniString, converted on request and owned by this object.
    class GSROOT_API CStr {
    public:
        CStr(const CStr&) = delete;
        CStr& operator=(const CStr&) = delete;
        CStr(CStr&& other) noexcept;
        ~CStr();
        const char* Get() const;
        operator const char*() const { return Get(); }
        UIndex GetLength() const { return length; }

    private:
        friend class UniString;
        CStr(char* text, UIndex length);
        char* text;
        UIndex length;
    };

    UniString();
    // `text` is NUL-terminated 8-bit text in `charCode`; null gives the empty string. Bytes that are
    // not valid in the encoding become U+FFFD.
    UniString(const char* text, GSCharCode charCode = CC_Default);
    UniString(const char* text, UIndex byteCount, GSCharCode charCode);
    // NUL-terminated UTF-16.
    UniString(const char16_t* text);
    UniString(const char16_t* text, UIndex length);
    UniString(const UniString& other);
    UniString(UniString&& other) noexcept;
    UniString& operator=(const UniString& other);
    UniString& operator=(UniString&& other) noexcept;
    ~UniString();

    static UniString FromUTF8(const char* text, UIndex byteCount);

    UIndex GetLength() const { return length; }
    bool IsEmpty() const { return length == 0; }
    // NUL-terminated; valid until the string changes.
    const char16_t* ToUStr() const;
    char16_t operator[](UIndex index) const;

    // 8-bit text of the code units [from, from + range) (clipped to the string) in `charCode`.
    // A character that the encoding cannot represent becomes `convErrorChar`, or is left out when
    // that is 0. Unpaired surrogates cannot be represented in any encoding.
    CStr ToCStr(UIndex from = 0, UIndex range = MaxUIndex, GSCharCode charCode = CC_Default,
                char convErrorChar = 0) const;
    // UTF-8 of the whole string (unpaired surrogates become U+FFFD).
    CStr ToUTF8() const;

    bool IsEqual(const UniString& other, CaseComparison comparison = CaseSensitive) const;
    // Negative, 0 or positive by code unit order (case folding for CaseInsensitive: the simple
    // one-to-one folding of the Latin, Greek, Cyrillic and Armenian letters; CaseFolding.hpp lists
    // exactly what folds).
    Int32 Compare(const UniString& other, CaseComparison comparison = CaseSensitive) const;
    bool operator==(const UniString& other) const { return IsEqual(other); }
    bool operator!=(const UniString& other) const { return !IsEqual(other); }
    bool operator<(const UniString& other) const { return Compare(other) < 0; }

    UniString& Append(const UniString& other);
    UniString& Append(const char16_t* text, UIndex count);
    UniString& operator+=(const UniString& other) { return Append(other); }
    UniString& operator+=(char16_t unit);
    friend GSROOT_API UniString operator+(const UniString& left, const UniString& right);

    UniString GetSubstring(UIndex from, UIndex range) const;
    // Index of the first occurrence at or after `from`, or MaxUIndex.
    UIndex FindFirst(char16_t unit, UIndex from = 0) const;
    UniString ToUpperCase() const;
    void Clear();

private:
    void Assign(const char16_t* text, UIndex count);
    void Reserve(UIndex units);

    char16_t* buffer = nullptr;
    UIndex length = 0;
    UIndex capacity = 0;
};

} // namespace GS
