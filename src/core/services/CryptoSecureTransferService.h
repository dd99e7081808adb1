#pragma once

#include "SecureTransferService.h"

// Backup files sealed with AES-256-GCM under SHA-256(password + salt), via
// OpenSSL. The file is a compact JSON envelope:
//   {"schemaVersion": n, "saltBase64": 16 random bytes,
//    "combinedBase64": 12-byte nonce + ciphertext + 16-byte tag}
// The derivation is a single hash pass so that files stay readable by every
// earlier edition. Holds no state; calls may come from any thread.
class CryptoSecureTransferService final : public SecureTransferService {
public:
    // Fails with Encoding when the payload has a date the file cannot carry,
    // and with Crypto when OpenSSL cannot draw random bytes or seal.
    Result<QByteArray> encrypt(const BackupPayload &payload, const QString &password) override;

    // Decoding: the bytes are not an envelope object with its three keys.
    // InvalidArchive: the salt or the sealed data is not strict Base64.
    // InvalidPassword: anything after that (short data, failed authentication,
    // a plaintext that is not a payload). No schemaVersion is checked.
    Result<BackupPayload> decrypt(const QByteArray &bytes, const QString &password) override;
};
