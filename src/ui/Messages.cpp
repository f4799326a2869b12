#include "ui/Messages.h"

#include "base/Errors.h"

namespace zk {

int TVostel::MsgBoxCaption(TApplication& app, const std::string& text, const std::string& caption,
                           UInt flags) {
  return app.Platform().MessageBoxA(app.Handle(), text, caption.empty() ? app.Title : caption, flags);
}

int TVostel::MsgBox(TApplication& app, const std::string& text, UInt flags) {
  std::string caption = app.Title;
  if (flags & MB_ICONINFORMATION)
    caption = "Information";
  else if ((flags & MB_ICONWARNING) == MB_ICONWARNING)
    caption = "Warning";
  else if (flags & MB_ICONQUESTION)
    caption = "Confirm";
  else if (flags & MB_ICONERROR)
    caption = "Error";
  return MsgBoxCaption(app, text, caption, flags);
}

bool TVostel::SelectFile(TDialogsApi& p, HWnd owner, std::string& fileName,
                         const std::string& defaultExt) {
  OpenFileNameA ofn;
  ofn.owner = owner;
  ofn.defExt = defaultExt;
  // One description and pattern pair: "*.*" for any file, else "*<ext>".
  const std::string pattern = defaultExt.empty() ? std::string("*.*") : "*" + defaultExt;
  ofn.filter = pattern + '\0' + pattern + '\0';
  // The program's folder stays the current directory.
  ofn.flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_NOCHANGEDIR;
  const bool chosen = p.GetOpenFileNameA(ofn);
  fileName = chosen ? ofn.file : std::string();
  return chosen;
}

std::string TVostel::ReadResourceText(TDialogsApi& p, const std::string& resName) {
  const HRsrc resource = p.FindResourceA(resName, RT_RCDATA_ID);
  const HGlobal data = resource != 0 ? p.LoadResource(resource) : 0;
  const void* bytes = data != 0 ? p.LockResource(data) : nullptr;
  if (bytes == nullptr) throw zk::Exception(zk::Format("Resource %s not found", resName.c_str()));
  return std::string(static_cast<const char*>(bytes), p.SizeofResource(resource));
}

}  // namespace zk
