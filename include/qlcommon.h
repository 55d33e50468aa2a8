/*
 * qlcommon.h - the one header a host includes to use QLCommon.dll.
 *
 * The library exports three functions.  GetQLObject hands out a service
 * object, QLRelease reports how many service objects are alive, QLDestroy
 * destroys one.  Everything else is an operation of the service object,
 * reached through its interface table of seventy entries whose order never
 * changes.
 *
 * C++ hosts call the operations as virtual members of ICommon.  C hosts call
 * them through ICommonVtbl, a struct of seventy function pointers that each
 * take the object first:   obj->lpVtbl->OpenFile(obj, path, qlModeRead, 0);
 * Both views describe the same table; the checks at the end of this header
 * pin every slot to its place.
 *
 * Text is UTF-16 and zero-terminated unless a parameter is declared char.
 * A capacity is the size of the caller's buffer in its own units,
 * terminator included.  Booleans are one byte (QLBool): the library reads
 * only the low byte of a boolean argument and treats any non-zero byte as
 * true, and returns 0 or 1.
 *
 * What each result that is a truth value or a code means:
 *   OpenFile, OpenFileHandle   1: the file is open (0: see GetLastErrorText)
 *   PopElement                 1: an element was taken (0: the array is empty)
 *   CopyElement,
 *   GetElementPointer          1: the index names an element (0: outside)
 *   SeekRead                   1: the read position moved
 *   InflateBegin               1: zlib is loaded and the block started
 *   InflateBlock               1: the end of the compressed data was reached;
 *                              0: more output room is needed, or the input
 *                              is truncated or corrupt
 *   ParseFractionalMeasureW,
 *   ParseFractionalMeasureA,
 *   ParseFractionalMeasureRounded
 *                              NOT success: 1 when the text ends in a sign
 *                              ("+" or "-"), 0 otherwise; the value is
 *                              stored either way
 *   BrowseOpenFile, BrowseSaveFile, BrowseFolder
 *                              1: the user chose; 0: cancelled or nothing
 *   FindField                  0: found; -1: not found before the end
 *   ShowTaxCalculator          1: results shown; 2: cancelled; 0: no dialog
 */
#ifndef QLCOMMON_H
#define QLCOMMON_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
typedef wchar_t QLWChar;               /* UTF-16 code unit */
#elif defined(__cplusplus)
typedef char16_t QLWChar;              /* portable builds of the library */
#else
#include <uchar.h>
typedef char16_t QLWChar;
#endif

typedef unsigned char QLBool;          /* one-byte truth value */
typedef void* QLWindow;                /* a window handle (HWND) */
typedef void* QLInstance;              /* a module instance handle (HINSTANCE) */

/* Length units: lengths are held as whole thousandths of an inch. */
enum MeasureUnit {
    unitFeet = 0,
    unitInches = 1,
    unitThousandths = 2,
    unitCentimeters = 3,
    unitMillimeters = 4
};

/* Kinds of the values WriteValueLine writes. */
enum ValueKind {
    valueText = 1,     /* pointer to a zero-terminated UTF-16 text */
    valueHex64 = 2,    /* the 64-bit value itself, as FormatHex64 text */
    valueInt = 3,      /* a signed 32-bit integer in the low 32 bits */
    valueFloat = 4,    /* pointer to a 32-bit float */
    valueDouble = 5    /* pointer to a double */
};

/* What WarnMissingResource warns about. */
enum ResourceWarningKind {
    warnImage = 0,            /* an image */
    warnFontSingleLine = 1,   /* a font, replaced by the single-line font */
    warnFontArial = 2,        /* a font, replaced by Arial */
    warnXlgImage = 3          /* an XLG image */
};

/* Mode codes of OpenFile and OpenFileHandle. */
enum QLFileMode {
    qlModeWrite = 1,   /* write, or append */
    qlModeRead = 2
};

/* Codec kinds of InflateBegin, InflateBlock and InflateFinish. */
enum QLCodecKind {
    codecZlib = 1
};

/* The interface version GetInterfaceVersion reports. */
#define QL_INTERFACE_VERSION 7u

/* Slot numbers: the position of each operation in the interface table. */
enum QLSlot {
    QL_SLOT_GetInterfaceVersion = 0,
    QL_SLOT_BrowseOpenFile = 1,
    QL_SLOT_BrowseSaveFile = 2,
    QL_SLOT_BrowseFolder = 3,
    QL_SLOT_SplitPathExt = 4,
    QL_SLOT_SplitPath = 5,
    QL_SLOT_MulDivRound = 6,
    QL_SLOT_MulDivRound2 = 7,
    QL_SLOT_Hypotenuse = 8,
    QL_SLOT_FormatMeasure = 9,
    QL_SLOT_ParseMeasure = 10,
    QL_SLOT_OpenFile = 11,
    QL_SLOT_WriteBytes = 12,
    QL_SLOT_ReadBytes = 13,
    QL_SLOT_CloseFile = 14,
    QL_SLOT_GetByteCount = 15,
    QL_SLOT_ReadField = 16,
    QL_SLOT_ReadWideField = 17,
    QL_SLOT_BeginElements = 18,
    QL_SLOT_FreeElements = 19,
    QL_SLOT_GetElementCount = 20,
    QL_SLOT_PushElement = 21,
    QL_SLOT_PopElement = 22,
    QL_SLOT_BeginProgress = 23,
    QL_SLOT_EndProgress = 24,
    QL_SLOT_SetProgressPos = 25,
    QL_SLOT_StepProgress = 26,
    QL_SLOT_IdleProgress = 27,
    QL_SLOT_GetUserCompanyFolder = 28,
    QL_SLOT_GetUserProductFolder = 29,
    QL_SLOT_GetCommonCompanyFolder = 30,
    QL_SLOT_GetJobFilePath = 31,
    QL_SLOT_GetFontsFolder = 32,
    QL_SLOT_SetJobFilePath = 33,
    QL_SLOT_GetInstallCompanyFolder = 34,
    QL_SLOT_GetCacheFolder = 35,
    QL_SLOT_GetInstallProductFolder = 36,
    QL_SLOT_GetControllersFolder = 37,
    QL_SLOT_GetSettingsFilePath = 38,
    QL_SLOT_GetCommonProductFolder = 39,
    QL_SLOT_GetDataFilePath = 40,
    QL_SLOT_GetDesktopFolder = 41,
    QL_SLOT_GetGraphixFilePath = 42,
    QL_SLOT_SetGraphixFilePath = 43,
    QL_SLOT_GetJobsFolder = 44,
    QL_SLOT_ParseFractionalMeasureW = 45,
    QL_SLOT_ParseFractionalMeasureRounded = 46,
    QL_SLOT_WriteValueLine = 47,
    QL_SLOT_FormatHex64 = 48,
    QL_SLOT_StraightenQuotes = 49,
    QL_SLOT_CopyElement = 50,
    QL_SLOT_GetElementPointer = 51,
    QL_SLOT_FindField = 52,
    QL_SLOT_GetLastErrorText = 53,
    QL_SLOT_OpenFileHandle = 54,
    QL_SLOT_WriteBytesHandle = 55,
    QL_SLOT_ReadBlock = 56,
    QL_SLOT_ReadLine = 57,
    QL_SLOT_CloseFileHandle = 58,
    QL_SLOT_FormatFloat = 59,
    QL_SLOT_WarnMissingResource = 60,
    QL_SLOT_SeekRead = 61,
    QL_SLOT_GetBufferPos = 62,
    QL_SLOT_InflateBlock = 63,
    QL_SLOT_InflateBegin = 64,
    QL_SLOT_InflateFinish = 65,
    QL_SLOT_CopyLine = 66,
    QL_SLOT_ParseFractionalMeasureA = 67,
    QL_SLOT_ShowTaxCalculator = 68,
    QL_SLOT_FormatHexDigits = 69,
    QL_SLOT_COUNT = 70
};

#ifdef __cplusplus
/*
 * The C++ view.  No destructor and no other virtual members: objects are
 * destroyed only by QLDestroy, and a virtual destructor would move every
 * slot.  Slots 6 and 7 carry the same operation under two names, because
 * overloads would be grouped differently by other compilers.
 */
struct IQuillon {
};

struct ICommon : IQuillon {
    virtual uint32_t GetInterfaceVersion() = 0; /* 0 */
    virtual int32_t BrowseOpenFile(QLWindow owner, const QLWChar* filters, const QLWChar* defaultExt, QLWChar* file, uint32_t capacity, QLBool allowMulti) = 0; /* 1 */
    virtual int32_t BrowseSaveFile(QLWindow owner, const QLWChar* filters, const QLWChar* defaultExt, QLWChar* file, uint32_t capacity, const QLWChar* title, QLBool overwritePrompt) = 0; /* 2 */
    virtual int32_t BrowseFolder(QLWindow owner, QLWChar* path, int32_t capacity) = 0; /* 3 */
    virtual void SplitPathExt(const QLWChar* path, QLWChar* folder, int32_t folderCapacity, QLWChar* name, int32_t nameCapacity, QLWChar* ext, int32_t extCapacity) = 0; /* 4 */
    virtual void SplitPath(const QLWChar* path, QLWChar* folder, int32_t folderCapacity, QLWChar* name, int32_t nameCapacity) = 0; /* 5 */
    virtual int32_t MulDivRound(double a, double b, double c) = 0; /* 6 */
    virtual int32_t MulDivRound2(double a, double b, double c) = 0; /* 7 */
    virtual double Hypotenuse(double a, double b) = 0; /* 8 */
    virtual void FormatMeasure(int32_t thousandths, QLWChar* text, int32_t capacity, int32_t unit, int32_t decimals) = 0; /* 9 */
    virtual int32_t ParseMeasure(const QLWChar* text, int32_t unit) = 0; /* 10 */
    virtual QLBool OpenFile(const QLWChar* path, uint32_t mode, QLBool append) = 0; /* 11 */
    virtual void WriteBytes(const void* data, uint32_t count) = 0; /* 12 */
    virtual uint32_t ReadBytes(void* dest, uint32_t count) = 0; /* 13 */
    virtual void CloseFile() = 0; /* 14 */
    virtual uint32_t GetByteCount() = 0; /* 15 */
    virtual int32_t ReadField(char* dest, int32_t capacity, uint8_t terminator) = 0; /* 16 */
    virtual int32_t ReadWideField(QLWChar* dest, int32_t capacity, uint16_t terminator, QLBool stopAtLineFeed) = 0; /* 17 */
    virtual void BeginElements(int32_t elementSize) = 0; /* 18 */
    virtual void FreeElements() = 0; /* 19 */
    virtual int32_t GetElementCount() = 0; /* 20 */
    virtual void PushElement(const void* element) = 0; /* 21 */
    virtual QLBool PopElement(void* element) = 0; /* 22 */
    virtual void BeginProgress(QLWindow parent, QLInstance instance, int32_t range) = 0; /* 23 */
    virtual void EndProgress() = 0; /* 24 */
    virtual void SetProgressPos(int32_t pos) = 0; /* 25 */
    virtual void StepProgress() = 0; /* 26 */
    virtual void IdleProgress() = 0; /* 27 */
    virtual void GetUserCompanyFolder(QLWChar* buffer, int32_t capacity) = 0; /* 28 */
    virtual void GetUserProductFolder(QLWChar* buffer, int32_t capacity) = 0; /* 29 */
    virtual void GetCommonCompanyFolder(QLWChar* buffer, int32_t capacity) = 0; /* 30 */
    virtual void GetJobFilePath(QLWChar* buffer, int32_t capacity) = 0; /* 31 */
    virtual void GetFontsFolder(QLWChar* buffer, int32_t capacity) = 0; /* 32 */
    virtual void SetJobFilePath(const QLWChar* value) = 0; /* 33 */
    virtual void GetInstallCompanyFolder(QLWChar* buffer, int32_t capacity) = 0; /* 34 */
    virtual void GetCacheFolder(QLWChar* buffer, int32_t capacity) = 0; /* 35 */
    virtual void GetInstallProductFolder(QLWChar* buffer, int32_t capacity) = 0; /* 36 */
    virtual void GetControllersFolder(QLWChar* buffer, int32_t capacity) = 0; /* 37 */
    virtual const QLWChar* GetSettingsFilePath() = 0; /* 38 */
    virtual void GetCommonProductFolder(QLWChar* buffer, int32_t capacity) = 0; /* 39 */
    virtual void GetDataFilePath(QLWChar* buffer, int32_t capacity) = 0; /* 40 */
    virtual void GetDesktopFolder(QLWChar* buffer, int32_t capacity) = 0; /* 41 */
    virtual void GetGraphixFilePath(QLWChar* buffer, int32_t capacity) = 0; /* 42 */
    virtual void SetGraphixFilePath(const QLWChar* value) = 0; /* 43 */
    virtual void GetJobsFolder(QLWChar* buffer, int32_t capacity) = 0; /* 44 */
    virtual QLBool ParseFractionalMeasureW(const QLWChar* text, int32_t textUnit, float* out, int32_t targetUnit) = 0; /* 45 */
    virtual QLBool ParseFractionalMeasureRounded(const QLWChar* text, int32_t textUnit, int32_t* out, int32_t targetUnit) = 0; /* 46 */
    virtual void WriteValueLine(int32_t kind1, uint64_t value1, int32_t kind2, uint64_t value2, int32_t kind3, uint64_t value3) = 0; /* 47 */
    virtual void FormatHex64(uint64_t value, char* buffer, int32_t capacity) = 0; /* 48 */
    virtual void StraightenQuotes(QLWChar* text) = 0; /* 49 */
    virtual QLBool CopyElement(int32_t index, void* element) = 0; /* 50 */
    virtual QLBool GetElementPointer(int32_t index, void** address) = 0; /* 51 */
    virtual int32_t FindField(const QLWChar* text) = 0; /* 52 */
    virtual void GetLastErrorText(QLWChar* buffer, int32_t capacity) = 0; /* 53 */
    virtual QLBool OpenFileHandle(const QLWChar* path, uint32_t mode, QLBool append) = 0; /* 54 */
    virtual void WriteBytesHandle(const void* data, uint32_t count) = 0; /* 55 */
    virtual uint32_t ReadBlock(void* dest, uint32_t count) = 0; /* 56 */
    virtual uint32_t ReadLine(char* dest, uint32_t capacity) = 0; /* 57 */
    virtual void CloseFileHandle() = 0; /* 58 */
    virtual void FormatFloat(float value, QLWChar* text, int32_t capacity, int32_t decimals) = 0; /* 59 */
    virtual void WarnMissingResource(const QLWChar* name, int32_t kind) = 0; /* 60 */
    virtual QLBool SeekRead(int32_t offset) = 0; /* 61 */
    virtual uint32_t GetBufferPos() = 0; /* 62 */
    virtual QLBool InflateBlock(const void* input, int32_t inputLength, void* output, uint32_t room, uint32_t* produced, int32_t kind) = 0; /* 63 */
    virtual QLBool InflateBegin(const void* input, uint32_t inputLength, int32_t kind) = 0; /* 64 */
    virtual void InflateFinish(int32_t kind) = 0; /* 65 */
    virtual uint32_t CopyLine(const void* source, int32_t sourceLength, void* dest, uint32_t capacity) = 0; /* 66 */
    virtual QLBool ParseFractionalMeasureA(const char* text, int32_t textUnit, float* out, int32_t targetUnit) = 0; /* 67 */
    virtual int32_t ShowTaxCalculator(QLWindow parent) = 0; /* 68 */
    virtual void FormatHexDigits(int32_t value, QLWChar* text, int32_t capacity) = 0; /* 69 */
};
#else
typedef struct ICommon {
    const struct ICommonVtbl* lpVtbl;
} ICommon;
#endif

/* The C view of the same table. */
typedef struct ICommonVtbl {
    uint32_t (*GetInterfaceVersion)(ICommon* self); /* 0 */
    int32_t (*BrowseOpenFile)(ICommon* self, QLWindow owner, const QLWChar* filters, const QLWChar* defaultExt, QLWChar* file, uint32_t capacity, QLBool allowMulti); /* 1 */
    int32_t (*BrowseSaveFile)(ICommon* self, QLWindow owner, const QLWChar* filters, const QLWChar* defaultExt, QLWChar* file, uint32_t capacity, const QLWChar* title, QLBool overwritePrompt); /* 2 */
    int32_t (*BrowseFolder)(ICommon* self, QLWindow owner, QLWChar* path, int32_t capacity); /* 3 */
    void (*SplitPathExt)(ICommon* self, const QLWChar* path, QLWChar* folder, int32_t folderCapacity, QLWChar* name, int32_t nameCapacity, QLWChar* ext, int32_t extCapacity); /* 4 */
    void (*SplitPath)(ICommon* self, const QLWChar* path, QLWChar* folder, int32_t folderCapacity, QLWChar* name, int32_t nameCapacity); /* 5 */
    int32_t (*MulDivRound)(ICommon* self, double a, double b, double c); /* 6 */
    int32_t (*MulDivRound2)(ICommon* self, double a, double b, double c); /* 7 */
    double (*Hypotenuse)(ICommon* self, double a, double b); /* 8 */
    void (*FormatMeasure)(ICommon* self, int32_t thousandths, QLWChar* text, int32_t capacity, int32_t unit, int32_t decimals); /* 9 */
    int32_t (*ParseMeasure)(ICommon* self, const QLWChar* text, int32_t unit); /* 10 */
    QLBool (*OpenFile)(ICommon* self, const QLWChar* path, uint32_t mode, QLBool append); /* 11 */
    void (*WriteBytes)(ICommon* self, const void* data, uint32_t count); /* 12 */
    uint32_t (*ReadBytes)(ICommon* self, void* dest, uint32_t count); /* 13 */
    void (*CloseFile)(ICommon* self); /* 14 */
    uint32_t (*GetByteCount)(ICommon* self); /* 15 */
    int32_t (*ReadField)(ICommon* self, char* dest, int32_t capacity, uint8_t terminator); /* 16 */
    int32_t (*ReadWideField)(ICommon* self, QLWChar* dest, int32_t capacity, uint16_t terminator, QLBool stopAtLineFeed); /* 17 */
    void (*BeginElements)(ICommon* self, int32_t elementSize); /* 18 */
    void (*FreeElements)(ICommon* self); /* 19 */
    int32_t (*GetElementCount)(ICommon* self); /* 20 */
    void (*PushElement)(ICommon* self, const void* element); /* 21 */
    QLBool (*PopElement)(ICommon* self, void* element); /* 22 */
    void (*BeginProgress)(ICommon* self, QLWindow parent, QLInstance instance, int32_t range); /* 23 */
    void (*EndProgress)(ICommon* self); /* 24 */
    void (*SetProgressPos)(ICommon* self, int32_t pos); /* 25 */
    void (*StepProgress)(ICommon* self); /* 26 */
    void (*IdleProgress)(ICommon* self); /* 27 */
    void (*GetUserCompanyFolder)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 28 */
    void (*GetUserProductFolder)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 29 */
    void (*GetCommonCompanyFolder)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 30 */
    void (*GetJobFilePath)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 31 */
    void (*GetFontsFolder)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 32 */
    void (*SetJobFilePath)(ICommon* self, const QLWChar* value); /* 33 */
    void (*GetInstallCompanyFolder)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 34 */
    void (*GetCacheFolder)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 35 */
    void (*GetInstallProductFolder)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 36 */
    void (*GetControllersFolder)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 37 */
    const QLWChar* (*GetSettingsFilePath)(ICommon* self); /* 38 */
    void (*GetCommonProductFolder)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 39 */
    void (*GetDataFilePath)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 40 */
    void (*GetDesktopFolder)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 41 */
    void (*GetGraphixFilePath)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 42 */
    void (*SetGraphixFilePath)(ICommon* self, const QLWChar* value); /* 43 */
    void (*GetJobsFolder)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 44 */
    QLBool (*ParseFractionalMeasureW)(ICommon* self, const QLWChar* text, int32_t textUnit, float* out, int32_t targetUnit); /* 45 */
    QLBool (*ParseFractionalMeasureRounded)(ICommon* self, const QLWChar* text, int32_t textUnit, int32_t* out, int32_t targetUnit); /* 46 */
    void (*WriteValueLine)(ICommon* self, int32_t kind1, uint64_t value1, int32_t kind2, uint64_t value2, int32_t kind3, uint64_t value3); /* 47 */
    void (*FormatHex64)(ICommon* self, uint64_t value, char* buffer, int32_t capacity); /* 48 */
    void (*StraightenQuotes)(ICommon* self, QLWChar* text); /* 49 */
    QLBool (*CopyElement)(ICommon* self, int32_t index, void* element); /* 50 */
    QLBool (*GetElementPointer)(ICommon* self, int32_t index, void** address); /* 51 */
    int32_t (*FindField)(ICommon* self, const QLWChar* text); /* 52 */
    void (*GetLastErrorText)(ICommon* self, QLWChar* buffer, int32_t capacity); /* 53 */
    QLBool (*OpenFileHandle)(ICommon* self, const QLWChar* path, uint32_t mode, QLBool append); /* 54 */
    void (*WriteBytesHandle)(ICommon* self, const void* data, uint32_t count); /* 55 */
    uint32_t (*ReadBlock)(ICommon* self, void* dest, uint32_t count); /* 56 */
    uint32_t (*ReadLine)(ICommon* self, char* dest, uint32_t capacity); /* 57 */
    void (*CloseFileHandle)(ICommon* self); /* 58 */
    void (*FormatFloat)(ICommon* self, float value, QLWChar* text, int32_t capacity, int32_t decimals); /* 59 */
    void (*WarnMissingResource)(ICommon* self, const QLWChar* name, int32_t kind); /* 60 */
    QLBool (*SeekRead)(ICommon* self, int32_t offset); /* 61 */
    uint32_t (*GetBufferPos)(ICommon* self); /* 62 */
    QLBool (*InflateBlock)(ICommon* self, const void* input, int32_t inputLength, void* output, uint32_t room, uint32_t* produced, int32_t kind); /* 63 */
    QLBool (*InflateBegin)(ICommon* self, const void* input, uint32_t inputLength, int32_t kind); /* 64 */
    void (*InflateFinish)(ICommon* self, int32_t kind); /* 65 */
    uint32_t (*CopyLine)(ICommon* self, const void* source, int32_t sourceLength, void* dest, uint32_t capacity); /* 66 */
    QLBool (*ParseFractionalMeasureA)(ICommon* self, const char* text, int32_t textUnit, float* out, int32_t targetUnit); /* 67 */
    int32_t (*ShowTaxCalculator)(ICommon* self, QLWindow parent); /* 68 */
    void (*FormatHexDigits)(ICommon* self, int32_t value, QLWChar* text, int32_t capacity); /* 69 */
} ICommonVtbl;

/* The exports. */
#if defined(_WIN32) && !defined(QLCOMMON_BUILDING)
#define QLCOMMON_API __declspec(dllimport)
#else
#define QLCOMMON_API
#endif

#ifdef __cplusplus
extern "C" {
#endif
QLCOMMON_API ICommon* GetQLObject(void* hostContext);
QLCOMMON_API int32_t QLRelease(void);
QLCOMMON_API void QLDestroy(ICommon* object);
#ifdef __cplusplus
}
#endif

/* For hosts that load the library with LoadLibraryW and GetProcAddress. */
typedef ICommon* (*QLGetQLObjectFn)(void* hostContext);
typedef int32_t (*QLReleaseFn)(void);
typedef void (*QLDestroyFn)(ICommon* object);

/*
 * Every slot sits at slot number times the size of a pointer.  The checks
 * need C11 or C++11; older language levels (C99) skip them quietly.
 */
#if defined(__cplusplus) ? (__cplusplus >= 201103L || (defined(_MSVC_LANG) && _MSVC_LANG >= 201103L)) \
                         : (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L)
#ifdef __cplusplus
#define QL_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define QL_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif
#define QL_CHECK_SLOT(name) \
    QL_STATIC_ASSERT(offsetof(ICommonVtbl, name) == QL_SLOT_##name * sizeof(void*), \
                     "slot of " #name)
QL_CHECK_SLOT(GetInterfaceVersion);
QL_CHECK_SLOT(BrowseOpenFile);
QL_CHECK_SLOT(BrowseSaveFile);
QL_CHECK_SLOT(BrowseFolder);
QL_CHECK_SLOT(SplitPathExt);
QL_CHECK_SLOT(SplitPath);
QL_CHECK_SLOT(MulDivRound);
QL_CHECK_SLOT(MulDivRound2);
QL_CHECK_SLOT(Hypotenuse);
QL_CHECK_SLOT(FormatMeasure);
QL_CHECK_SLOT(ParseMeasure);
QL_CHECK_SLOT(OpenFile);
QL_CHECK_SLOT(WriteBytes);
QL_CHECK_SLOT(ReadBytes);
QL_CHECK_SLOT(CloseFile);
QL_CHECK_SLOT(GetByteCount);
QL_CHECK_SLOT(ReadField);
QL_CHECK_SLOT(ReadWideField);
QL_CHECK_SLOT(BeginElements);
QL_CHECK_SLOT(FreeElements);
QL_CHECK_SLOT(GetElementCount);
QL_CHECK_SLOT(PushElement);
QL_CHECK_SLOT(PopElement);
QL_CHECK_SLOT(BeginProgress);
QL_CHECK_SLOT(EndProgress);
QL_CHECK_SLOT(SetProgressPos);
QL_CHECK_SLOT(StepProgress);
QL_CHECK_SLOT(IdleProgress);
QL_CHECK_SLOT(GetUserCompanyFolder);
QL_CHECK_SLOT(GetUserProductFolder);
QL_CHECK_SLOT(GetCommonCompanyFolder);
QL_CHECK_SLOT(GetJobFilePath);
QL_CHECK_SLOT(GetFontsFolder);
QL_CHECK_SLOT(SetJobFilePath);
QL_CHECK_SLOT(GetInstallCompanyFolder);
QL_CHECK_SLOT(GetCacheFolder);
QL_CHECK_SLOT(GetInstallProductFolder);
QL_CHECK_SLOT(GetControllersFolder);
QL_CHECK_SLOT(GetSettingsFilePath);
QL_CHECK_SLOT(GetCommonProductFolder);
QL_CHECK_SLOT(GetDataFilePath);
QL_CHECK_SLOT(GetDesktopFolder);
QL_CHECK_SLOT(GetGraphixFilePath);
QL_CHECK_SLOT(SetGraphixFilePath);
QL_CHECK_SLOT(GetJobsFolder);
QL_CHECK_SLOT(ParseFractionalMeasureW);
QL_CHECK_SLOT(ParseFractionalMeasureRounded);
QL_CHECK_SLOT(WriteValueLine);
QL_CHECK_SLOT(FormatHex64);
QL_CHECK_SLOT(StraightenQuotes);
QL_CHECK_SLOT(CopyElement);
QL_CHECK_SLOT(GetElementPointer);
QL_CHECK_SLOT(FindField);
QL_CHECK_SLOT(GetLastErrorText);
QL_CHECK_SLOT(OpenFileHandle);
QL_CHECK_SLOT(WriteBytesHandle);
QL_CHECK_SLOT(ReadBlock);
QL_CHECK_SLOT(ReadLine);
QL_CHECK_SLOT(CloseFileHandle);
QL_CHECK_SLOT(FormatFloat);
QL_CHECK_SLOT(WarnMissingResource);
QL_CHECK_SLOT(SeekRead);
QL_CHECK_SLOT(GetBufferPos);
QL_CHECK_SLOT(InflateBlock);
QL_CHECK_SLOT(InflateBegin);
QL_CHECK_SLOT(InflateFinish);
QL_CHECK_SLOT(CopyLine);
QL_CHECK_SLOT(ParseFractionalMeasureA);
QL_CHECK_SLOT(ShowTaxCalculator);
QL_CHECK_SLOT(FormatHexDigits);
QL_STATIC_ASSERT(sizeof(ICommonVtbl) == QL_SLOT_COUNT * sizeof(void*), "seventy slots");
QL_STATIC_ASSERT(sizeof(QLBool) == 1, "one-byte booleans");
QL_STATIC_ASSERT(sizeof(QLWChar) == 2, "UTF-16 code units");
#undef QL_CHECK_SLOT
#undef QL_STATIC_ASSERT
#endif /* C11 or C++11 */

#endif /* QLCOMMON_H */
