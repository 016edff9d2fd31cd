#pragma once
// The command line is the user's: every word after the program's name is
// part of the one path, also a word that looks like an option of Qt's.
#include <QString>

// The words after argv[0], each decoded from the locale's encoding, joined
// by single blanks.
QString commandLineFromArgv(int argc, char** argv);
