// The resources inside QLCommon.dll: the three dialog templates control by
// control, the version data and the manifest.  The templates are read as
// the dialog manager reads them, from the DLL's own resource section.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "hostkit/host.h"

namespace {

struct Item {
    DWORD style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::wstring className;  // "#0080" button, "#0081" edit, "#0082" static, "#0085" combo box
    std::wstring text;
};

struct Template {
    DWORD style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::wstring title;
    int pointSize = 0;
    std::wstring font;
    std::vector<Item> items;
    const Item* find(int id, int nth = 0) const {
        for (const Item& it : items)
            if (it.id == id && nth-- == 0) return &it;
        return nullptr;
    }
};

// Reads a size-or-ordinal field: 0, 0xFFFF then an ordinal, or a string.
std::wstring readSz(const WORD*& p) {
    if (*p == 0) { ++p; return L""; }
    if (*p == 0xFFFF) {
        wchar_t buf[8];
        swprintf(buf, 8, L"#%04X", p[1]);
        p += 2;
        return buf;
    }
    std::wstring s(reinterpret_cast<const wchar_t*>(p));
    p += s.size() + 1;
    return s;
}

const WORD* align4(const WORD* p) {
    return reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t{3});
}

bool loadTemplate(int id, Template& t) {
    HMODULE dll = hostkit::library().module();
    HRSRC res = FindResourceW(dll, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    if (!res) return false;
    const WORD* p = static_cast<const WORD*>(LockResource(LoadResource(dll, res)));
    if (p[0] != 1 || p[1] != 0xFFFF) return false;  // DLGTEMPLATEEX
    p += 2;                                          // dlgVer, signature
    p += 2;                                          // helpID
    p += 2;                                          // exStyle
    DWORD style;
    std::memcpy(&style, p, 4);
    p += 2;
    t.style = style;
    WORD count = *p++;
    t.x = static_cast<short>(*p++); t.y = static_cast<short>(*p++);
    t.cx = static_cast<short>(*p++); t.cy = static_cast<short>(*p++);
    readSz(p);  // menu
    readSz(p);  // class
    t.title = readSz(p);
    if (style & DS_SETFONT) {
        t.pointSize = *p++;
        p += 2;  // weight, italic + charset
        t.font = readSz(p);
    }
    for (WORD i = 0; i < count; ++i) {
        p = align4(p);
        Item it;
        p += 2;  // helpID
        p += 2;  // exStyle
        std::memcpy(&it.style, p, 4);
        p += 2;
        it.x = static_cast<short>(*p++); it.y = static_cast<short>(*p++);
        it.cx = static_cast<short>(*p++); it.cy = static_cast<short>(*p++);
        int32_t ctlId;
        std::memcpy(&ctlId, p, 4);
        p += 2;
        it.id = ctlId;
        it.className = readSz(p);
        it.text = readSz(p);
        WORD extra = *p++;
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
        t.items.push_back(it);
    }
    return true;
}

#define EXPECT_RECT(item, X, Y, CX, CY)                          \
    do {                                                          \
        ASSERT_NE(item, nullptr);                                 \
        EXPECT_EQ((item)->x, X); EXPECT_EQ((item)->y, Y);         \
        EXPECT_EQ((item)->cx, CX); EXPECT_EQ((item)->cy, CY);     \
    } while (0)

void expectDialogFrame(const Template& t, const wchar_t* title) {
    EXPECT_EQ(t.cx, 309);
    EXPECT_EQ(t.cy, 176);
    EXPECT_EQ(t.title, title);
    EXPECT_EQ(t.font, L"MS Shell Dlg");
    EXPECT_EQ(t.pointSize, 8);
    const DWORD frame = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    EXPECT_EQ(t.style & frame, frame);
    const Item* ok = t.find(IDOK);
    EXPECT_RECT(ok, 198, 155, 50, 14);
    EXPECT_EQ(ok->className, L"#0080");
    EXPECT_EQ(ok->style & 0xF, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    const Item* cancel = t.find(IDCANCEL);
    EXPECT_RECT(cancel, 252, 155, 50, 14);
    EXPECT_EQ(cancel->text, L"Cancel");
    EXPECT_EQ(cancel->style & 0xF, static_cast<DWORD>(BS_PUSHBUTTON));
}

bool visible(const Item* it) { return it && (it->style & WS_VISIBLE); }

TEST(Resources, CalculatorTemplate101) {
    ASSERT_TRUE(hostkit::library().loaded());
    Template t;
    ASSERT_TRUE(loadTemplate(101, t));
    expectDialogFrame(t, L"Self Employment Tax Calculator");
    EXPECT_TRUE(t.style & DS_CENTER);
    EXPECT_EQ(t.find(IDOK)->text, L"OK");
    const Item* month = t.find(1001);
    EXPECT_RECT(month, 224, 15, 68, 111);
    EXPECT_EQ(month->className, L"#0085");
    EXPECT_EQ(month->style & 0x3, static_cast<DWORD>(CBS_DROPDOWNLIST));
    EXPECT_TRUE(month->style & CBS_SORT);
    EXPECT_TRUE(month->style & WS_VSCROLL);
    const Item* label = t.find(-1);
    EXPECT_RECT(label, 160, 16, 55, 12);
    EXPECT_EQ(label->text, L"Current Month");
    EXPECT_EQ(label->style & SS_TYPEMASK, static_cast<DWORD>(SS_RIGHT));
    const Item* se = t.find(1003);
    EXPECT_RECT(se, 227, 36, 58, 14);
    EXPECT_EQ(se->text, L"SE Income...");
    EXPECT_FALSE(visible(se));
    const Item* w2 = t.find(1004);
    EXPECT_RECT(w2, 227, 56, 58, 14);
    EXPECT_EQ(w2->text, L"W2 Income...");
    EXPECT_FALSE(visible(w2));
    EXPECT_EQ(t.items.size(), 6u);
}

TEST(Resources, IncomeTemplate103) {
    Template t;
    ASSERT_TRUE(loadTemplate(103, t));
    expectDialogFrame(t, L"Dialog");
    const Item* employer = t.find(1005);
    EXPECT_RECT(employer, 17, 19, 119, 77);
    EXPECT_EQ(employer->style & 0x3, static_cast<DWORD>(CBS_DROPDOWN));
    EXPECT_TRUE(employer->style & CBS_SORT);
    EXPECT_EQ(t.find(-1)->text, L"Employer");
    EXPECT_RECT(t.find(-1), 148, 19, 30, 12);
    struct { int id; int x, y, cx, cy; bool shown; const wchar_t* text; } rows[] = {
        {1006, 59, 40, 77, 112, true, L""},
        {1007, 148, 40, 39, 12, true, L"Start Month"},
        {1008, 59, 60, 77, 100, false, L""},
        {1009, 148, 60, 35, 12, false, L"End Month"},
        {1010, 88, 84, 48, 12, false, L""},
        {1011, 148, 84, 38, 12, false, L"Net Income"},
        {1012, 88, 103, 48, 12, false, L""},
        {1013, 148, 103, 51, 12, false, L"W2 Withholding"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.id);
        const Item* it = t.find(r.id);
        EXPECT_RECT(it, r.x, r.y, r.cx, r.cy);
        EXPECT_EQ(visible(it), r.shown);
        EXPECT_EQ(it->text, r.text);
    }
    for (int id : {1006, 1008}) {
        EXPECT_EQ(t.find(id)->style & 0x3, static_cast<DWORD>(CBS_DROPDOWNLIST));
        EXPECT_TRUE(t.find(id)->style & CBS_SORT);
    }
    for (int id : {1010, 1012}) {
        const Item* edit = t.find(id);
        EXPECT_EQ(edit->className, L"#0081");
        EXPECT_TRUE(edit->style & ES_CENTER);
        EXPECT_TRUE(edit->style & ES_AUTOHSCROLL);
        EXPECT_TRUE(edit->style & WS_BORDER);
    }
    EXPECT_EQ(t.items.size(), 12u);
}

TEST(Resources, ValuesTemplate105) {
    Template t;
    ASSERT_TRUE(loadTemplate(105, t));
    expectDialogFrame(t, L"Dialog Values");
    EXPECT_RECT(t.find(1014), 27, 20, 58, 14);
    EXPECT_RECT(t.find(1012), 27, 47, 58, 14);
    const Item* label1 = t.find(-1);
    EXPECT_RECT(label1, 94, 20, 79, 14);
    EXPECT_EQ(label1->text, L"Value 1");
    const Item* label2 = t.find(1015);
    EXPECT_RECT(label2, 94, 47, 79, 14);
    EXPECT_EQ(label2->text, L"Value 2");
    for (int id : {1014, 1012}) {
        const Item* edit = t.find(id);
        EXPECT_EQ(edit->className, L"#0081");
        EXPECT_EQ(edit->text, L"");
        EXPECT_TRUE(edit->style & ES_CENTER);
        EXPECT_TRUE(edit->style & ES_AUTOHSCROLL);
        EXPECT_TRUE(edit->style & WS_BORDER);
        EXPECT_TRUE(visible(edit));
    }
    EXPECT_EQ(t.items.size(), 6u);
}

TEST(Resources, VersionAndManifest) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(hostkit::library().module(), path, MAX_PATH);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    wchar_t* description = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040904b0\\FileDescription",
                               reinterpret_cast<void**>(&description), &len));
    EXPECT_STREQ(description, L"Library Module");

    HMODULE dll = hostkit::library().module();
    HRSRC res = FindResourceW(dll, MAKEINTRESOURCEW(2), reinterpret_cast<LPCWSTR>(RT_MANIFEST));
    ASSERT_NE(res, nullptr);
    std::string manifest(static_cast<const char*>(LockResource(LoadResource(dll, res))),
                         SizeofResource(dll, res));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
}

}  // namespace
