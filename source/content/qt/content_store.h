// The content store TData2 (a data module, no window), made once at start. Its creation loads
// the picture and music lists and, with online pronunciation on, starts the host lookup.
// Scenes, goods and downloads come with the content store itself.
#pragma once

#include <QObject>

#include "common/result.h"

namespace duvelin {

class Pronunciation;
struct ShellServices;

class TData2 final : public QObject {
 public:
  explicit TData2(QObject* parent = nullptr) : QObject(parent) { setObjectName(QStringLiteral("TData2")); }

  // The list load, then, with online pronunciation on, the lookup's start (its port and the
  // host's address). A list file that cannot be read or a lookup port that cannot be had is
  // shown and the program goes on.
  Status OnCreate(ShellServices& services, Pronunciation* pronunciation);
};

}  // namespace duvelin
