#pragma once
// Export (serve) and import (fetch) of the picture pair over TCP. Each call is one blocking
// operation: it opens its sockets, runs to completion or time-out, and closes everything on
// every path. The result codes are those of net/transfer_messages.h.
//
// Built on POSIX sockets in non-blocking mode with poll(), not on QTcpSocket: the blocking
// waits of Qt's sockets want a Qt event dispatcher in the calling thread, while these calls
// must also run from vemla-cli and from plain test threads. The socket library, event objects
// and network-event records of the codes -1, -12, -13 and -17 have no counterpart here, so those
// codes never occur on Linux.
//
// Time limits: the exporter waits at most `timeoutSeconds` for the connection and then gives
// the whole 320-byte request one deadline of `timeoutSeconds` from the moment it accepted (a
// peer trickling one byte per wait cannot hold it for longer); sending the reply, and every wait
// of the importer, is limited per wait, so a slow but steady transfer is not cut off. Port and
// time-outs are used only within 1 … 65535 and 1 … 3600 s (the options' corrected ranges);
// values outside are brought to the nearest end.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "net/wire_format.h"
#include "ports/ports.h"

namespace vemla::platform {

// The waiting window: its text is set and it is shown (ProgressPort::startWait) with the wait
// cursor when a transfer starts; finish() and end() take them away when it ends. Every wait asks
// the window's keepWaiting() at least every 50 ms, so it stays repainted, and ends with -18 once
// the operator cancelled (the listening socket closes with it). Either port may be absent.
struct TransferPorts {
  ProgressPort* progress = nullptr;
  BusyPort* busy = nullptr;
};

struct ServeResult {
  int code = 0;             // 0, or a negative transfer code
  std::string peerAddress;  // dotted IPv4 address of the importer, once one connected
  std::string peerUser;     // its user name (made safe to show), once its request arrived
};

// Listens on IPv4 `port`, accepts exactly one connection, reads its request and, when the
// request carries `password` (UTF-8, compared as exact CP932 bytes), sends the length and
// `payload`; otherwise sends the length -1 and gives -7. A wrong password ends the export.
ServeResult serve(int port, std::string_view password, std::span<const std::uint8_t> payload,
                  int timeoutSeconds, const TransferPorts& ports = {});

struct FetchResult {
  // The received length, or a negative transfer code. With a length, `check` says whether the
  // pair was taken; only then do `header` and `pixels` (picture 1, then picture 2) hold it.
  int code = 0;
  net::PayloadCheck check = net::PayloadCheck::BadData;
  net::PairHeader header;
  std::vector<std::uint8_t> pixels;
};

// Connects to `address` (dotted IPv4) at `port`, retrying a refused or failed connection every
// 200 ms until `timeoutSeconds` have passed (then -15), sends `request`, and receives the reply.
// A pair that is wider or higher than the maxima, or whose length does not fit its header, is
// refused from its header before any pixel is read or room for it is made.
FetchResult fetch(std::string_view address, int port, int timeoutSeconds,
                  const net::RequestBytes& request, int maxWidth, int maxHeight,
                  const TransferPorts& ports = {});

// The name sent as the importing user: the login name of this process's user, else $USER,
// else empty.
std::string localUserName();

}  // namespace vemla::platform
