#include "platform/toolkit/win32/DialogTemplateImage.h"

#include "platform/toolkit/Utf16Text.h"

#include <cstdint>
#include <cstring>

namespace {

// The dialog manager's predefined classes, by atom.
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;
constexpr WORD kListBoxAtom = 0x0083;
constexpr WORD kComboBoxAtom = 0x0085;
// The comctl32 IP-address control (WC_IPADDRESS).
constexpr wchar_t kIpAddressClass[] = L"SysIPAddress32";

class ImageWriter {
public:
    void Word(WORD value)
    {
        bytes_.push_back(static_cast<std::uint8_t>(value & 0xFF));
        bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void Dword(DWORD value)
    {
        Word(static_cast<WORD>(value & 0xFFFF));
        Word(static_cast<WORD>(value >> 16));
    }
    void Short(int value) { Word(static_cast<WORD>(static_cast<std::int16_t>(value))); }
    void Text(const char* utf8)
    {
        for (wchar_t unit : WideFromUtf8(utf8 ? utf8 : ""))
            Word(static_cast<WORD>(unit));
        Word(0);
    }
    void Text(const wchar_t* wide)
    {
        for (; *wide != 0; ++wide)
            Word(static_cast<WORD>(*wide));
        Word(0);
    }
    void Atom(WORD atom)
    {
        Word(0xFFFF);
        Word(atom);
    }
    void AlignDword()
    {
        while (bytes_.size() % 4 != 0)
            bytes_.push_back(0);
    }
    std::vector<DWORD> Take()
    {
        AlignDword();
        std::vector<DWORD> image(bytes_.size() / 4);
        std::memcpy(image.data(), bytes_.data(), bytes_.size());
        return image;
    }

private:
    std::vector<std::uint8_t> bytes_;
};

void WriteClass(ImageWriter& out, ControlKind kind)
{
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::GroupBox:
        out.Atom(kButtonAtom);
        break;
    case ControlKind::Static:
    case ControlKind::Icon:
        out.Atom(kStaticAtom);
        break;
    case ControlKind::Edit:
        out.Atom(kEditAtom);
        break;
    case ControlKind::ListBox:
        out.Atom(kListBoxAtom);
        break;
    case ControlKind::ComboBox:
        out.Atom(kComboBoxAtom);
        break;
    case ControlKind::IpAddress:
        out.Text(kIpAddressClass);
        break;
    }
}

} // namespace

std::vector<DWORD> DialogTemplateImage(const DialogTemplate& dialog, bool visible, bool rightToLeft)
{
    ImageWriter out;
    out.Word(1);       // dlgVer
    out.Word(0xFFFF);  // signature: the extended template
    out.Dword(0);      // helpID
    out.Dword(dialog.exStyle);
    out.Dword(visible ? dialog.style : dialog.style & ~WS_VISIBLE);
    out.Word(static_cast<WORD>(dialog.controls.size()));
    out.Short(dialog.x);
    out.Short(dialog.y);
    out.Short(dialog.cx);
    out.Short(dialog.cy);
    out.Word(0);  // no menu
    out.Word(0);  // the dialog class
    out.Text(dialog.caption);
    if (dialog.style & DS_SETFONT) {
        out.Word(static_cast<WORD>(dialog.pointSize));
        out.Word(400);  // weight: normal
        out.Word(0x0100);  // not italic; charset DEFAULT_CHARSET (1)
        out.Text(dialog.fontFace);
    }
    for (const DialogControlTemplate& control : dialog.controls) {
        out.AlignDword();
        out.Dword(0);  // helpID
        const bool leftTitle = control.kind == ControlKind::GroupBox && !rightToLeft;
        out.Dword(leftTitle ? control.exStyle & ~WS_EX_RIGHT : control.exStyle);
        out.Dword(control.style | WS_CHILD);
        out.Short(control.x);
        out.Short(control.y);
        out.Short(control.cx);
        out.Short(control.cy);
        out.Dword(static_cast<DWORD>(control.id));
        WriteClass(out, control.kind);
        // An icon static gets its image from the resource table once created.
        out.Text(control.kind == ControlKind::Icon ? "" : control.text);
        out.Word(0);  // no creation data
    }
    return out.Take();
}
