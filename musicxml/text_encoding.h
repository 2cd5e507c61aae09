// The encoding a score file came in, found from its byte-order mark or its
// XML declaration. Scores are parsed and edited as UTF-8; a file in another
// encoding is turned into UTF-8 when read and back when written, so that
// what the program did not change is written as the bytes that were read.
#pragma once

#include <string>

namespace musicxml {

class TextEncoding {
 public:
  enum class Form { Utf8, Utf16LittleEndian, Utf16BigEndian, Latin1, Windows1252 };

  // Finds the encoding of bytes and turns them into UTF-8 text; bytes that
  // are UTF-8 already become the text without a copy when moved in. False
  // with a message for an encoding that is not read or bytes that are not in it.
  bool Decode(std::string bytes, std::string* text, std::string* error);

  // Turns UTF-8 text back into the encoding that Decode found, byte-order
  // mark and all. False when the text holds a character the encoding cannot
  // hold.
  bool Encode(const std::string& text, std::string* bytes) const;

  Form GetForm() const { return form_; }
  bool HasByteOrderMark() const { return byteOrderMark_; }
  // "UTF-16 (big endian)", for messages.
  std::string Name() const;

 private:
  bool DecodeEightBit(const std::string& bytes, const std::string& declared, std::string* text, std::string* error);

  Form form_ = Form::Utf8;
  bool byteOrderMark_ = false;
};

}  // namespace musicxml
