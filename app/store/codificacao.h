#pragma once

#include <QtGlobal>

// The encodings a contact file is found in. The program's own is
// Windows-1252; text editors often save the file as UTF-8, with or without a
// byte-order mark, and every rewrite keeps what the file was found in.
enum class Codificacao : quint8 {
    Windows1252,
    Utf8,
    Utf8ComMarca, // starts with EF BB BF
};
