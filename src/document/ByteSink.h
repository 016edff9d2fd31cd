#pragma once
// Where a file's bytes go a slice at a time, so that a big file is never
// held whole in memory while it is written.
#include <QByteArrayView>
#include <functional>

// Takes the next bytes; false once they could not be written, after which
// the producer may stop.
using ByteSink = std::function<bool(QByteArrayView)>;

// How many bytes a write has handed on so far; false abandons the write.
// It is also asked now and then while the bytes are being made durable.
using WriteProgress = std::function<bool(qint64 written)>;
