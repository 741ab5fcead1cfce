#pragma once

#include <QStringList>

namespace host { class Worksheet; }

namespace bench {

// The registry the benchmarks time against: as many subjects as the registry holds.
constexpr int kFullRegistry = 32767;

// Subject `i`'s 18 texts: identifier i, every field filled to a realistic length.
QStringList subjectTexts(int i);
// Subjects 1..count in rows 2.., and the counter at count.
void fillRegistry(host::Worksheet &sheet, int count);
// A fresh archive at `path` holding `count` subjects, made only when no file is there (a full
// one takes seconds to write). False when it could not be made.
bool makeArchive(const QString &path, int count);

} // namespace bench
