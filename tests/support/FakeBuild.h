// Stand-ins for other builds of the program: a minimal whole executable (an ELF header that
// places nothing else in the file) carrying the version marker every build has.
#pragma once

#include <QByteArray>

namespace testsupport {

inline QByteArray FakeBuild(const char* version, const QByteArray& tail = QByteArray("...data..."))
{
    auto put = [](QByteArray& b, int at, quint64 v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    const QByteArray payload = "@(#)Tessarine file version " + QByteArray(version) + QByteArray(1, '\0') + tail;
    QByteArray header(64, '\0');
    header[0] = '\x7f';
    header[1] = 'E';
    header[2] = 'L';
    header[3] = 'F';
    header[4] = 2;  // 64-bit
    header[5] = 1;  // little-endian
    header[6] = 1;
    // One section holding the payload, its header last in the file (as a linker places it), so
    // that the file cut short anywhere reads as incomplete.
    put(header, 40, quint64(64 + payload.size()), 8);  // section headers' offset
    put(header, 58, 64, 2);                            // their size
    put(header, 60, 1, 2);                             // their count
    QByteArray section(64, '\0');
    put(section, 4, 1, 4);                              // data in the file
    put(section, 24, 64, 8);
    put(section, 32, quint64(payload.size()), 8);
    return header + payload + section;
}

}  // namespace testsupport
