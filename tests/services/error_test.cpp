#include "error.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(ErrorTest, FullStopIsAddedUnlessTheMessageEndsInOneOrBefore) {
  const std::pair<const char*, const char*> cases[] = {
      {"No existe archivo", "No existe archivo."},
      {"Ya termina.", "Ya termina."},
      {"No se encuentra el campo 'X'", "No se encuentra el campo 'X'"},  // a quote sorts before the full stop
      {"Error (sic)", "Error (sic)"},
      {"Acaba en coma,", "Acaba en coma,"},
      {"Acaba en guión-", "Acaba en guión-"},
      {"Acaba en barra/", "Acaba en barra/."},
      {"Acaba en cero 0", "Acaba en cero 0."},
      {"válido", "válido."},
      {"", ""},
  };
  for (const auto& [message, shown] : cases) EXPECT_EQ(WithFullStop(message), shown) << message;
}

TEST(ErrorTest, FormatReplacesEachPlaceholderInTurn) {
  EXPECT_EQ(Format("'%s' no es un valor entero válido para el campo '%s'", {"12a", "MAXALUM"}),
            "'12a' no es un valor entero válido para el campo 'MAXALUM'");
  EXPECT_EQ(Format("%s: %s", {"wwTableSoluc", "x%s"}), "wwTableSoluc: x%s");
  EXPECT_EQ(Format("sin %s", {}), "sin %s");
}

}  // namespace
}  // namespace tv
