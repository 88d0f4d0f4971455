#include "error.h"

#include <cerrno>
#include <cstring>

namespace tv {

std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(pattern.size() + 32);
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
        next != args.end()) {
      out += *next++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::string WithFullStop(std::string_view message) {
  std::string out(message);
  if (!out.empty() && static_cast<unsigned char>(out.back()) > static_cast<unsigned char>('.')) {
    out += '.';
  }
  return out;
}

std::string SystemErrorText(int errorNumber) {
  switch (errorNumber) {
    case ENOENT:
      return "No existe el archivo o el directorio";
    case EACCES:
    case EPERM:
      return "Permiso denegado";
    case EROFS:
      return "El sistema de archivos es de sólo lectura";
    case ENOSPC:
      return "No queda espacio en el disco";
    case EDQUOT:
      return "Se ha superado la cuota de disco";
    case EFBIG:
      return "El archivo es demasiado grande";
    case EISDIR:
      return "Es un directorio";
    case ENOTDIR:
      return "Una parte de la ruta no es un directorio";
    case ENAMETOOLONG:
      return "El nombre del archivo es demasiado largo";
    case EMFILE:
    case ENFILE:
      return "Hay demasiados archivos abiertos";
    case EIO:
      return "Error de entrada/salida";
    case EBUSY:
      return "El recurso está ocupado";
    case ENOMEM:
      return "No hay memoria suficiente";
    case EEXIST:
      return "El archivo ya existe";
    case ELOOP:
      return "Hay demasiados enlaces simbólicos en la ruta";
    default:
      return std::string("Error del sistema ") + std::to_string(errorNumber) + " (" +
             std::strerror(errorNumber) + ")";
  }
}

}  // namespace tv
