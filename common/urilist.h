#pragma once

#include <QByteArray>
#include <QList>

namespace kelvoro {

// Native path bytes of the local files in a text/uri-list (RFC 2483), in list order, taken
// from the URIs' percent-encoding so names that are not valid UTF-8 survive. Only file URIs
// (RFC 8089) that name this machine count: "file:///p", "file://localhost/p" and "file:/p".
// A file on another host, a malformed URI and one whose path holds a NUL byte are left out:
// each would name some other file here.
QList<QByteArray> localPathsFromUriList(const QByteArray& uriList);

} // namespace kelvoro
