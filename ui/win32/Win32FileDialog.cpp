#include "Win32FileDialog.h"

#include <vector>

#include "WideText.h"

#include <commdlg.h>

namespace pavok {

namespace {

// "text\0pattern\0...\0\0", as the dialog takes its filters.
std::wstring FilterList(const FileDialogRequest& request) {
  std::wstring list;
  for (const FileFilter& filter : request.filters) {
    list += Widen(filter.displayText) + L'\0' + Widen(filter.pattern) + L'\0';
  }
  return list + L'\0';
}

std::wstring DefaultExtension(const FileDialogRequest& request, DWORD filterIndex) {
  const std::size_t index = filterIndex - 1;  // the dialog counts from 1
  if (filterIndex > 0 && index < request.filters.size() && !request.filters[index].defaultExtension.empty()) {
    return Widen(request.filters[index].defaultExtension);
  }
  return Widen(request.defaultExtension);
}

bool HasExtension(std::wstring_view path) {
  const std::size_t name = path.find_last_of(L"\\/");
  return path.find(L'.', name == std::wstring_view::npos ? 0 : name + 1) != std::wstring_view::npos;
}

}  // namespace

FileDialogResult RunFileDialog(HWND owner, const FileDialogRequest& request) {
  // The longest path the system knows, not MAX_PATH: a name that does not
  // fit would fail the dialog itself.
  std::vector<wchar_t> path(32768, L'\0');
  const std::wstring filters = FilterList(request);
  const std::wstring title = Widen(request.title);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(request.selectedFilter + 1);
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  const bool chosen =
      request.kind == FileDialogKind::Save ? GetSaveFileNameW(&dialog) != FALSE : GetOpenFileNameW(&dialog) != FALSE;
  if (!chosen) return {"", CommDlgExtendedError()};
  std::wstring result = path.data();
  const std::wstring extension = DefaultExtension(request, dialog.nFilterIndex);
  if (request.kind == FileDialogKind::Save && !extension.empty() && !HasExtension(result)) {
    result += L'.' + extension;
  }
  return {Narrow(result), 0};
}

}  // namespace pavok
