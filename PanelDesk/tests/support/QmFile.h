#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <map>
#include <vector>

namespace lumivane::test {

// Writes a Qt translation file (.qm) of source text → translation in one context, as the translation
// tools would, so that tests can load a translation without those tools.
inline bool writeQmFile(const QString& path, const char* context, const std::map<QByteArray, QString>& texts)
{
    auto put32 = [](QByteArray& out, quint32 value) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.append(char((value >> shift) & 0xFF));
    };
    auto hashOf = [](const QByteArray& text) {
        quint32 h = 0;
        for (const char c : text) {
            h = (h << 4) + uchar(c);
            const quint32 g = h & 0xF0000000;
            if (g)
                h ^= g >> 24;
            h &= ~g;
        }
        return h ? h : 1;
    };
    QByteArray messages;
    std::vector<std::pair<quint32, quint32>> hashes;
    for (const auto& [source, translation] : texts) {
        hashes.emplace_back(hashOf(source), quint32(messages.size()));
        messages.append(char(3)); // translation, UTF-16 big endian
        put32(messages, quint32(translation.size() * 2));
        for (const QChar c : translation) {
            messages.append(char(c.unicode() >> 8));
            messages.append(char(c.unicode() & 0xFF));
        }
        messages.append(char(6)); // source text
        put32(messages, quint32(source.size()));
        messages.append(source);
        messages.append(char(7)); // context
        put32(messages, quint32(qstrlen(context)));
        messages.append(context);
        messages.append(char(1)); // end
    }
    std::sort(hashes.begin(), hashes.end());
    QByteArray hashBlock;
    for (const auto& [hash, offset] : hashes) {
        put32(hashBlock, hash);
        put32(hashBlock, offset);
    }
    QByteArray file = QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd");
    file.append(char(0x42));
    put32(file, quint32(hashBlock.size()));
    file.append(hashBlock);
    file.append(char(0x69));
    put32(file, quint32(messages.size()));
    file.append(messages);
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(file) == file.size();
}

} // namespace lumivane::test
