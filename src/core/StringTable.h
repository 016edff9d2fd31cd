#pragma once
#include <QString>
#include <optional>

// Text of the program's string table by id; nullopt for an id it does not hold.
std::optional<QString> LoadResString(int id);
