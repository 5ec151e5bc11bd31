// MD5 (RFC 1321) in the shape of that RFC's reference interface, and HMAC-MD5 (RFC 2104).
#pragma once

#include "base/base.h"

struct MD5_CTX {
  UINT state[4];           // A, B, C, D
  UINT count[2];           // the number of bits hashed, low word first
  unsigned char buffer[64];  // input not yet hashed
};

void MD5Init(MD5_CTX* context);
void MD5Update(MD5_CTX* context, const unsigned char* input, unsigned int inputLen);
// Writes the 16-byte digest and zero-fills the context.
void MD5Final(unsigned char digest[16], MD5_CTX* context);

// HMAC-MD5 of the text under the key; a key longer than 64 bytes is replaced by its digest.
void hmac_md5(const unsigned char* text, int text_len, const unsigned char* key, int key_len,
              unsigned char digest[16]);
