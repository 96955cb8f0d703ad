// Accessible objects of the installer's controls (see accessible.h). The one
// COM and Unicode file: everything else stays procedural over "A" functions.
// oleacc and oleaut32 are loaded when a reader first asks, from the system
// folder, so a sighted run never loads them.
#include "render/accessible.h"

#include <new>
#include <oleacc.h>
#include <stdlib.h>

#include "base/globals.h"
#include "base/system_dll.h"
#include "base/text_resource.h"
#include "render/dialog_description.h"
#include "render/glyph_atlas.h"
#include "render/owner_draw.h"
#include "resources/resource_ids.h"

// Defined here: mingw's x86_64 oleacc import library resolves IID_IAccessible
// to an import thunk, not to the GUID.
static const GUID kIidAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
static const char kProcProp[] = "MorivaneAccessibleProc";

enum { LINE_BUFFER = 260, NAME_CHARS = MESSAGE_TEXT_SIZE + 1 };

// The UTF-16 map of the atlas's shipped rows (resource IDR_GBK_UNICODE),
// the symbol rows then the level-1 rows (atlas_cells.h). Loaded on first use.
static unsigned char *UnicodeMap;
static_assert(GBK_UNICODE_SIZE == 2 * ATLAS_MAP_CELLS, "the map holds every shipped row");

static WCHAR MapGbk(unsigned char lead, unsigned char trail)
{
    int row = lead >= ATLAS_SYMBOL_LEAD_FIRST && lead <= ATLAS_SYMBOL_LEAD_LAST
                  ? lead - ATLAS_SYMBOL_LEAD_FIRST
              : lead >= ATLAS_CHARACTER_LEAD_FIRST && lead <= ATLAS_CHARACTER_LEAD_LAST
                  ? lead - ATLAS_CHARACTER_LEAD_FIRST + ATLAS_SYMBOL_ROWS
                  : -1;
    if (row < 0 || trail < ATLAS_TRAIL_FIRST || trail > ATLAS_TRAIL_LAST)
        return 0;
    if (UnicodeMap == NULL) {
        unsigned char *map = (unsigned char *)malloc(GBK_UNICODE_SIZE);
        unsigned long length = GBK_UNICODE_SIZE;
        if (map == NULL)
            return 0;
        if (InflateTextResource(AppInstance, IDR_GBK_UNICODE, map, &length) != 0 ||
            length != GBK_UNICODE_SIZE) {
            free(map);
            return 0;
        }
        UnicodeMap = map;
    }
    int at = 2 * (row * ATLAS_ROW_CELLS + trail - ATLAS_TRAIL_FIRST);
    return (WCHAR)(UnicodeMap[at] | UnicodeMap[at + 1] << 8);
}

int GbkToWide(const char *text, WCHAR *out, int capacity)
{
    int n = 0;
    for (const unsigned char *p = (const unsigned char *)text; *p != 0 && n < capacity - 1; ++p) {
        if (*p < 0x80) {
            out[n++] = *p;
            continue;
        }
        if (p[1] == 0)
            break;  // half a character is drawn as nothing
        WCHAR c = MapGbk(p[0], p[1]);
        if (c == 0 && MultiByteToWideChar(CP_ACP, 0, (const char *)p, 2, &c, 1) != 1)
            c = L'?';
        out[n++] = c;
        ++p;
    }
    out[n] = 0;
    return n;
}

static BSTR AllocName(const WCHAR *text)
{
    typedef BSTR(WINAPI * SysAllocStringFunction)(const OLECHAR *);
    static SysAllocStringFunction alloc;
    if (alloc == NULL)
        alloc = (SysAllocStringFunction)(void *)SystemDllFunction("oleaut32.dll", "SysAllocString");
    return alloc != NULL ? alloc(text) : NULL;
}

// The window text of `window`: at most `chars` - 1 characters (up to NAME_CHARS).
static BSTR WindowTextOf(HWND window, int chars)
{
    WCHAR text[NAME_CHARS];
    GetWindowTextW(window, text, chars);
    return AllocName(text);
}

// The name of `window` (child 0) or of its list line `child` (one that
// ChildOf let through): what is drawn. Null rather than a name made of bytes
// nothing wrote.
static BSTR NameOf(HWND window, const DialogControl *row, long child)
{
    char text[NAME_CHARS];
    WCHAR wide[NAME_CHARS];
    const char *caption = text;
    text[0] = 0;  // an empty name where a call below writes nothing
    if (child > 0) {
        // LB_ERR, past the last line, is as unusable as a line too long.
        if ((unsigned long)SendMessageA(window, LB_GETTEXTLEN, child - 1, 0) >= LINE_BUFFER)
            return NULL;
        SendMessageA(window, LB_GETTEXT, child - 1, (LPARAM)text);
    } else if (row->nameFrom == NAME_NONE) {
        return NULL;
    } else if (row->nameFrom == NAME_SYSTEM_TEXT) {
        return WindowTextOf(window, NAME_CHARS);
    } else {
        // The caption drawn now: the dialog may choose it by its page.
        HWND source = GetDlgItem(GetParent(window), row->nameFrom);
        caption = DescribedCaption(source);
        if (caption == NULL) {
            GetWindowTextA(source, text, sizeof text);
            caption = text;
        }
    }
    GbkToWide(caption, wide, NAME_CHARS);
    return AllocName(wide);
}

static long StateOf(HWND window, int role)
{
    long state = IsWindowVisible(window) ? 0 : STATE_SYSTEM_INVISIBLE;
    if (role == ROLE_SYSTEM_STATICTEXT || role == ROLE_SYSTEM_GRAPHIC ||
        role == ROLE_SYSTEM_SEPARATOR)
        return state | STATE_SYSTEM_READONLY;  // labels are disabled only to skip the focus
    if (!IsWindowEnabled(window))
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (GetFocus() == window)
        state |= STATE_SYSTEM_FOCUSED;
    if (role == ROLE_SYSTEM_CHECKBUTTON && SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED)
        state |= STATE_SYSTEM_CHECKED;
    return state | STATE_SYSTEM_FOCUSABLE;
}

static HRESULT PutI4(VARIANT *out, long value)
{
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

// Small on purpose: what a reader needs of a single control, with no
// standard object to forward to (the window object above it is the system's).
namespace {  // internal: no COMDAT copies of the methods

struct ControlAccessible : IAccessible {
    LONG refs;
    HWND window;
    const DialogControl *row;

    // The child a VARIANT names: 0 the control, 1 up to its line count for a
    // list; -1 (E_INVALIDARG) for any other number, any child of another
    // control, and a VARIANT that is not VT_I4.
    long ChildOf(const VARIANT &child)
    {
        long n = child.vt == VT_I4 ? child.lVal : -1;
        if (n > 0 && (row->role != ROLE_SYSTEM_LIST || n > (long)SendMessageA(window, LB_GETCOUNT, 0, 0)))
            return -1;
        return n;
    }
    // S_FALSE (nothing to give) for a child held, E_INVALIDARG for another.
    HRESULT Nothing(const VARIANT &child) { return ChildOf(child) < 0 ? E_INVALIDARG : S_FALSE; }
    HRESULT NoText(const VARIANT &child, BSTR *text)
    {
        *text = NULL;
        return Nothing(child);
    }
    // `self` for the control, `line` for a list line.
    HRESULT PutOf(const VARIANT &child, VARIANT *out, long self, long line)
    {
        long n = ChildOf(child);
        if (n < 0) {
            out->vt = VT_EMPTY;
            return E_INVALIDARG;
        }
        return PutI4(out, n != 0 ? line : self);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIidAccessible) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&refs);
        if (left == 0)
            free(this);
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *,
                                     EXCEPINFO *, UINT *) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        typedef HRESULT(WINAPI * FromWindowFunction)(HWND, DWORD, REFIID, void **);
        FromWindowFunction fromWindow =
            (FromWindowFunction)(void *)SystemDllFunction("oleacc.dll", "AccessibleObjectFromWindow");
        *parent = NULL;
        return fromWindow != NULL ? fromWindow(window, (DWORD)OBJID_WINDOW, IID_IDispatch, (void **)parent)
                                  : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override
    {
        *count = row->role == ROLE_SYSTEM_LIST ? (long)SendMessageA(window, LB_GETCOUNT, 0, 0) : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **out) override
    {
        *out = NULL;
        return Nothing(child);  // list lines are simple elements
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override
    {
        long n = ChildOf(child);
        *name = NULL;
        if (n < 0)
            return E_INVALIDARG;
        *name = NameOf(window, row, n);
        return *name != NULL ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override
    {
        // The edit's path and the list box's choice are their window texts.
        long n = ChildOf(child);
        *value = NULL;
        if (n < 0)
            return E_INVALIDARG;
        if (n != 0 || (row->role != ROLE_SYSTEM_TEXT && row->role != ROLE_SYSTEM_COMBOBOX))
            return S_FALSE;
        *value = WindowTextOf(window, MAX_PATH);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *text) override
    {
        return NoText(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        return PutOf(child, role, row->role, ROLE_SYSTEM_LISTITEM);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        return PutOf(child, state, StateOf(window, row->role), STATE_SYSTEM_READONLY);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override
    {
        return NoText(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, long *) override
    {
        return NoText(child, file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *keys) override
    {
        return NoText(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override
    {
        if (GetFocus() == window)
            return PutI4(child, CHILDID_SELF);
        child->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override
    {
        children->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override
    {
        return NoText(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accLocation(long *x, long *y, long *width, long *height, VARIANT child) override
    {
        RECT r;
        if (ChildOf(child) != 0 || !GetWindowRect(window, &r))
            return E_INVALIDARG;
        *x = r.left;
        *y = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT *end) override
    {
        end->vt = VT_EMPTY;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long, long, VARIANT *child) override
    {
        return PutI4(child, CHILDID_SELF);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        long n = ChildOf(child);
        if (n < 0)
            return E_INVALIDARG;
        if (n != 0 || (row->role != ROLE_SYSTEM_PUSHBUTTON && row->role != ROLE_SYSTEM_CHECKBUTTON))
            return DISP_E_MEMBERNOTFOUND;
        PostMessageA(window, BM_CLICK, 0, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }
};

}  // namespace

// The answer to WM_GETOBJECT for the client object of `window`, or 0.
static LRESULT AnswerGetObject(HWND window, WPARAM wParam)
{
    typedef LRESULT(WINAPI * LresultFunction)(REFIID, WPARAM, LPUNKNOWN);
    LresultFunction lresult = (LresultFunction)(void *)SystemDllFunction("oleacc.dll", "LresultFromObject");
    void *memory = malloc(sizeof(ControlAccessible));
    if (lresult == NULL || memory == NULL) {
        free(memory);
        return 0;
    }
    ControlAccessible *object = new (memory) ControlAccessible;
    object->refs = 1;
    object->window = window;
    object->row = DescribedControl(window);
    if (object->row == NULL) {
        object->Release();
        return 0;
    }
    LRESULT result = lresult(kIidAccessible, wParam, object);
    object->Release();
    return result;
}

static LRESULT CALLBACK AccessibleControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = (WNDPROC)GetPropA(window, kProcProp);
    if (message == WM_GETOBJECT && (LONG)lParam == OBJID_CLIENT) {
        LRESULT result = AnswerGetObject(window, wParam);
        if (result > 0)
            return result;
    }
    if (message == WM_NCDESTROY)
        RemovePropA(window, kProcProp);
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

void MakeControlAccessible(HWND control)
{
    if (GetPropA(control, kProcProp) != NULL)
        return;
    SetPropA(control, kProcProp,
             (HANDLE)SetWindowLongPtrA(control, GWLP_WNDPROC, (LONG_PTR)AccessibleControlProc));
}
