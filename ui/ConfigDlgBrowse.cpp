// Firmware image selection: Browse and the one-read load of the chosen file.
#include "ui/CConfigDlg.h"

#include <cstdio>
#include <new>

#include "platform/CFile.h"
#include "platform/MemoryAdvice.h"
#include "platform/toolkit/CFileDialog.h"
#include "platform/toolkit/MessageBox.h"
#include "ui/CUpdateSocket.h"
#include "update/FirmwareDownload.h"
#include "update/ImageName.h"

namespace {

constexpr const char kImageFilter[] = "Binary File (*.bin)|*.bin|All Files (*.*)|*.*||";
constexpr const char kCantOpen[] = "Can't Open File !";
constexpr const char kWarning[] = "Warning";

}  // namespace

void CConfigDlg::OnBrowse()
{
    UpdateData(TRUE);

    CFileDialog fileDlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR, kImageFilter, this);
    if (fileDlg.DoModal() != IDOK)
        return;
    m_strUpdateFile = fileDlg.GetPathName();

    if (!IsFirmwareImagePath(m_strUpdateFile)) {
        MessageBox(kCantOpen, kWarning, MB_ICONSTOP);
        return;
    }

    UpdateData(FALSE);
    UpdateData(TRUE);

    CFile file;
    if (!file.Open(m_strUpdateFile.c_str(), CFile::modeRead)) {
        MessageBox(kCantOpen, kWarning, MB_ICONSTOP);
        return;
    }

    // A download waiting for the device's image request keeps the image it announced.
    if (m_pDownload != nullptr)
        m_pDownload->m_download.KeepBeforeChange(m_firmwareImage);
    // Released before the new buffer is taken, so two images are never held at once.
    FirmwareImage().swap(m_firmwareImage);
    m_nImageLength = 0;

    const std::uint64_t size = file.GetLength();
    bool allocated = size <= kMaxImageSize;
    if (allocated) {
        try {
            // Sized without a zero-fill and made resident in one call, so the read is the
            // only pass over the bytes and takes no page fault per page.
            m_firmwareImage.resize(static_cast<std::size_t>(size));
            PrefaultBuffer(m_firmwareImage.data(), static_cast<std::size_t>(size));
        } catch (const std::bad_alloc&) {
            allocated = false;
        }
    }
    if (!allocated) {
        file.Close();
        std::snprintf(m_szMsg, sizeof m_szMsg, "The file is too large to load: %llu bytes.",
                      static_cast<unsigned long long>(size));
        MessageBox(m_szMsg, kWarning, MB_ICONSTOP);
        return;
    }

    const UINT read = file.Read(m_firmwareImage.data(), static_cast<UINT>(size));
    file.Close();
    if (read != size) {
        // Never keep a partial image: the device would be sent a truncated firmware.
        FirmwareImage().swap(m_firmwareImage);
        std::snprintf(m_szMsg, sizeof m_szMsg, "Can't read the whole file: %u of %llu bytes.", read,
                      static_cast<unsigned long long>(size));
        MessageBox(m_szMsg, kWarning, MB_ICONSTOP);
        return;
    }
    m_nImageLength = static_cast<std::uint32_t>(size);

    m_strTrace = FormatImageTrace(m_firmwareImage);
    UpdateData(FALSE);
}
