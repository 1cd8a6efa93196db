// The content store TData2 (a data module, no window), made once at start. Its creation loads
// the picture and music lists and, with online pronunciation on, starts the host lookup.
// Scenes, goods and downloads come with the content store itself.
#pragma once

#include <QObject>

#include "common/result.h"

namespace duvelin {

struct ShellServices;

class TData2 final : public QObject {
 public:
  explicit TData2(QObject* parent = nullptr) : QObject(parent) { setObjectName(QStringLiteral("TData2")); }

  // The list load; a list file that cannot be read is shown and the program goes on.
  Status OnCreate(ShellServices& services);
};

}  // namespace duvelin
