#pragma once

#include <span>
#include <string>
#include <string_view>

// Detached Ed25519 signatures over update packages.
namespace quorsa::updater {

inline constexpr std::size_t kSignatureSize = 64;

// True only when `signature` is a valid Ed25519 signature of `data` under the
// PEM public key; any malformed key or signature is a refusal with `error` set.
bool verifySignature(std::string_view publicKeyPem, std::span<const unsigned char> data,
                     std::span<const unsigned char> signature, std::string& error);

// Signs `data` with a PEM Ed25519 private key; the 64 raw signature bytes go to
// `signature`. False with `error` when the key is not an Ed25519 private key.
bool signData(std::string_view privateKeyPem, std::span<const unsigned char> data,
              std::string& signature, std::string& error);

std::span<const unsigned char> asBytes(std::string_view text);

}  // namespace quorsa::updater
