#pragma once
// The settings password as test.ini keeps it under "pass": the text itself, as the settings
// window writes what its field holds, or a salted hash of it ("pbkdf2-sha256$..."), which
// the students of a lab may read without learning the password. A value that is not a
// whole hash of that form is a password like any other text.

#include <QString>

namespace password {

// What a hash in test.ini begins with.
inline const QString kHashPrefix = QStringLiteral("pbkdf2-sha256$");
// PBKDF2-HMAC-SHA256 rounds of a new hash: a fraction of a second for the teacher who types
// it (Qt's SHA-256 does about 200,000 rounds a second on a lab computer), a long time for a
// student who tries a dictionary against a copy. The count is kept with each hash.
inline constexpr int kIterations = 100000;
// A hash asking for more rounds than this is no hash of ours: a planted one must not hang
// the window the password is typed into.
inline constexpr int kMostIterations = 10000000;

// True when the stored value is a hash of the form hashed() makes.
bool isHashed(const QString& stored);

// True when `typed` opens what `stored` guards: equal to it exactly, or, for a hash, the
// password it was made from (the hash's own text never opens it).
bool matches(const QString& typed, const QString& stored);

// A new hash of the password with a random salt, to store in test.ini.
QString hashed(const QString& password, int iterations = kIterations);

} // namespace password
