#pragma once

namespace tavrel::volstrak {

// OLE initialised on the calling thread for as long as the object lives, as regsvr32 and the
// installer's original host have it around DllRegisterServer: servers register type libraries
// and create objects. A thread that already has OLE keeps it; one in the multithreaded
// apartment, or one where ole32.dll cannot be loaded, is left as it is.
class OleSession {
 public:
  OleSession();
  ~OleSession();
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

 private:
  bool initialised_ = false;
};

}  // namespace tavrel::volstrak
