#include "common/password.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QList>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

#include <array>
#include <optional>

namespace password {

namespace {

constexpr qsizetype kSaltBytes = 16;
constexpr qsizetype kHashBytes = 32;

// PBKDF2 with HMAC-SHA256, one block: SHA-256's own length is all a password needs.
QByteArray pbkdf2(const QByteArray& secret, const QByteArray& salt, int iterations) {
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, secret);
    mac.addData(salt);
    mac.addData("\0\0\0\1", 4);
    QByteArray block = mac.result();
    QByteArray sum = block;
    for (int round = 1; round < iterations; ++round) {
        mac.reset(); // keeps the key
        mac.addData(block);
        block = mac.result();
        for (qsizetype i = 0; i < sum.size(); ++i)
            sum[i] = char(sum[i] ^ block[i]);
    }
    return sum;
}

struct Hash {
    int iterations = 0;
    QByteArray salt;
    QByteArray value;
};

std::optional<Hash> parse(const QString& stored) {
    if (!stored.startsWith(kHashPrefix)) return std::nullopt;
    const QList<QStringView> parts = QStringView(stored).mid(kHashPrefix.size()).split(u'$');
    if (parts.size() != 3) return std::nullopt;
    bool number = false;
    const int iterations = parts[0].toInt(&number);
    if (!number || iterations < 1 || iterations > kMostIterations) return std::nullopt;
    const auto decode = [](QStringView text) {
        return QByteArray::fromBase64Encoding(text.toLatin1(),
                                              QByteArray::AbortOnBase64DecodingErrors);
    };
    const auto salt = decode(parts[1]);
    const auto value = decode(parts[2]);
    if (!salt || !value || salt.decoded.isEmpty() || value.decoded.size() != kHashBytes)
        return std::nullopt;
    return Hash{iterations, salt.decoded, value.decoded};
}

// Compares every byte whatever the first difference, so the time taken tells nothing.
bool sameBytes(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size()) return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

} // namespace

bool isHashed(const QString& stored) { return parse(stored).has_value(); }

bool matches(const QString& typed, const QString& stored) {
    const std::optional<Hash> hash = parse(stored);
    if (!hash) return typed == stored;
    return sameBytes(pbkdf2(typed.toUtf8(), hash->salt, hash->iterations), hash->value);
}

QString hashed(const QString& password, int iterations) {
    std::array<quint32, kSaltBytes / 4> words{};
    QRandomGenerator::system()->fillRange(words.data(), qsizetype(words.size()));
    const QByteArray salt(reinterpret_cast<const char*>(words.data()), kSaltBytes);
    return kHashPrefix + QString::number(iterations) + QLatin1Char('$') +
           QString::fromLatin1(salt.toBase64()) + QLatin1Char('$') +
           QString::fromLatin1(pbkdf2(password.toUtf8(), salt, iterations).toBase64());
}

} // namespace password
