// Base64, MD5 and HMAC-MD5 against the RFC test vectors and against the system's base64 and
// md5sum on random data.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "app/CBase64Coder.h"
#include "app/MD5.h"

namespace {

std::string Hex(const unsigned char* p, size_t n) {
  std::string out;
  char two[3];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(two, sizeof two, "%02x", p[i]);
    out += two;
  }
  return out;
}

std::string Md5Hex(const std::string& data) {
  MD5_CTX context;
  MD5Init(&context);
  MD5Update(&context, reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned int>(data.size()));
  unsigned char digest[16];
  MD5Final(digest, &context);
  return Hex(digest, 16);
}

std::string HmacHex(const std::string& text, const std::string& key) {
  unsigned char digest[16];
  hmac_md5(reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()),
           reinterpret_cast<const unsigned char*>(key.data()), static_cast<int>(key.size()), digest);
  return Hex(digest, 16);
}

std::string Decoded(CBase64Coder& coder) { return std::string(coder.GetDecodedText(), coder.GetDecodedSize()); }

// Runs a shell command with `input` on its standard input (through a file) and returns its output.
std::string RunTool(const std::string& command, const std::string& input) {
  char path[] = "/tmp/appcoderXXXXXX";
  const int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  FILE* file = fdopen(fd, "wb");
  std::fwrite(input.data(), 1, input.size(), file);
  std::fclose(file);
  std::string output;
  if (FILE* pipe = popen((command + " < " + path).c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
  }
  std::remove(path);
  return output;
}

TEST(Base64, Rfc4648VectorsRoundTripWithTheirPadding) {
  const std::pair<const char*, const char*> vectors[] = {
      {"", ""},         {"f", "Zg=="},        {"fo", "Zm8="},        {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
  };
  CBase64Coder coder;
  for (const auto& [plain, encoded] : vectors) {
    coder.Encode(plain);
    EXPECT_STREQ(coder.GetEncodedText(), encoded);
    EXPECT_EQ(coder.GetEncodedSize(), std::strlen(encoded));
    coder.Decode(encoded);
    EXPECT_EQ(Decoded(coder), plain) << encoded;
  }
}

TEST(Base64, DecodingSkipsWhitespaceFoldsHighBitsAndCountsNoPaddingBytes) {
  CBase64Coder coder;
  coder.Decode("Zm9v\r\nYmFy\tYg = =\n");
  EXPECT_EQ(Decoded(coder), "foobarb");
  const unsigned char high[] = {'Z' | 0x80, 'm' | 0x80, '9', 'v', 0};
  coder.Decode(reinterpret_cast<const char*>(high));
  EXPECT_EQ(Decoded(coder), "foo");
  // Binary data ending in a padded group has exactly its own length, and the bits a short group
  // leaves over never show as a byte.
  const BYTE binary[] = {0x00, 0xFF, 0x10, 0x80};
  coder.Encode(binary, sizeof binary);
  const std::string text = coder.GetEncodedText();
  coder.Decode(text.c_str());
  ASSERT_EQ(coder.GetDecodedSize(), sizeof binary);
  EXPECT_EQ(std::memcmp(coder.GetDecodedText(), binary, sizeof binary), 0);
  coder.Decode("QR==");
  EXPECT_EQ(coder.GetDecodedSize(), 1u);
  EXPECT_STREQ(coder.GetDecodedText(), "A");
  coder.Decode(static_cast<LPCSTR>(nullptr));
  EXPECT_STREQ(coder.GetDecodedText(), "A");
}

TEST(Base64, AgreesWithTheSystemToolOnRandomData) {
  std::mt19937 random(1234);
  for (size_t size : {1u, 2u, 3u, 57u, 4095u, 10000u}) {
    std::string data(size, '\0');
    for (char& c : data) c = static_cast<char>(random());
    CBase64Coder coder;
    coder.Encode(reinterpret_cast<const BYTE*>(data.data()), static_cast<UINT>(size));
    const std::string encoded = coder.GetEncodedText();
    EXPECT_EQ(encoded, RunTool("base64 -w0", data)) << size;
    // The tool's wrapped output decodes to the same bytes.
    const std::string wrapped = RunTool("base64", data);
    coder.Decode(reinterpret_cast<const BYTE*>(wrapped.data()), static_cast<UINT>(wrapped.size()));
    EXPECT_EQ(Decoded(coder), data) << size;
  }
}

TEST(MD5, Rfc1321SuiteAndTheSystemToolOnRandomData) {
  const std::pair<std::string, const char*> suite[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& [text, digest] : suite) EXPECT_EQ(Md5Hex(text), digest) << text;
  std::mt19937 random(99);
  for (size_t size : {55u, 56u, 63u, 64u, 65u, 100000u}) {
    std::string data(size, '\0');
    for (char& c : data) c = static_cast<char>(random());
    EXPECT_EQ(Md5Hex(data), RunTool("md5sum", data).substr(0, 32)) << size;
  }
  // Fed in pieces of odd sizes, the digest is the same, and the context is zeroed at the end.
  const std::string data = std::string(1000, 'q');
  MD5_CTX context;
  MD5Init(&context);
  for (size_t i = 0; i < data.size(); i += 7)
    MD5Update(&context, reinterpret_cast<const unsigned char*>(data.data()) + i,
              static_cast<unsigned int>(std::min<size_t>(7, data.size() - i)));
  unsigned char digest[16];
  MD5Final(digest, &context);
  EXPECT_EQ(Hex(digest, 16), Md5Hex(data));
  const MD5_CTX zero{};
  EXPECT_EQ(std::memcmp(&context, &zero, sizeof context), 0);
}

TEST(HmacMD5, Rfc2202VectorsAndLongKeysHashedFirst) {
  EXPECT_EQ(HmacHex("Hi There", std::string(16, '\x0b')), "9294727a3638bb1c13f48ef8158bfc9d");
  EXPECT_EQ(HmacHex("what do ya want for nothing?", "Jefe"), "750c783e6ab0b503eaa86e310a5db738");
  EXPECT_EQ(HmacHex(std::string(50, '\xdd'), std::string(16, '\xaa')), "56be34521d144c88dbb8c733f0e8b3f6");
  EXPECT_EQ(HmacHex("Test Using Larger Than Block-Size Key - Hash Key First", std::string(80, '\xaa')),
            "6b1ab7fe4bd7bf8f0b62e6ce61b9d0cd");
  const std::string key(100, 'k');
  MD5_CTX context;
  MD5Init(&context);
  MD5Update(&context, reinterpret_cast<const unsigned char*>(key.data()), 100);
  unsigned char keyDigest[16];
  MD5Final(keyDigest, &context);
  EXPECT_EQ(HmacHex("text", key), HmacHex("text", std::string(reinterpret_cast<char*>(keyDigest), 16)));
}

}  // namespace
