# Compiles the help file SIGAD.chm; run by the custom command of
# CMakeLists.txt in this folder as
#
#   cmake -DCHMCMD=... -DORIGEN=... -DFUENTES=... -DSALIDA=... -DARCHIVOS=a|b|c
#         -P compilar_ayuda.cmake
#
# ORIGEN    the folder of the sources (this folder)
# FUENTES   a build folder; it is emptied and receives a copy of the sources
# ARCHIVOS  the sources, relative to ORIGEN, separated by "|"
# SALIDA    where the compiled file goes (beside the program)
#
# chmcmd writes SIGAD.chm next to SIGAD.hhp, so it runs inside FUENTES; its
# output (a banner and some notes even at the lowest verbosity) is shown only
# when something goes wrong.
cmake_minimum_required(VERSION 3.25)

foreach(variable CHMCMD ORIGEN FUENTES SALIDA ARCHIVOS)
  if(NOT DEFINED ${variable} OR "${${variable}}" STREQUAL "")
    message(FATAL_ERROR "compilar_ayuda.cmake: falta -D${variable}=...")
  endif()
endforeach()

string(REPLACE "|" ";" archivos "${ARCHIVOS}")

# A fresh copy, so that a file dropped from the sources does not linger.
file(REMOVE_RECURSE "${FUENTES}")
file(MAKE_DIRECTORY "${FUENTES}")

# The text sources are Windows-1252. A page saved as UTF-8 by mistake would
# show two odd characters for every accented letter in the help viewer; the
# byte 0xC3, which starts them and which Spanish text in Windows-1252 never
# needs (it is a capital A with tilde), gives it away.
string(ASCII 195 byte_c3)
foreach(archivo IN LISTS archivos)
  set(origen "${ORIGEN}/${archivo}")
  if(NOT EXISTS "${origen}")
    message(FATAL_ERROR "Falta el archivo de la ayuda ${origen}")
  endif()
  if(archivo MATCHES "\\.(htm|hhc|hhk|hhp|css)$")
    file(READ "${origen}" contenido)
    string(FIND "${contenido}" "${byte_c3}" posicion)
    if(NOT posicion EQUAL -1)
      message(FATAL_ERROR "${origen} parece guardado en UTF-8; las fuentes de la ayuda "
                          "van en Windows-1252")
    endif()
  endif()
  get_filename_component(carpeta "${FUENTES}/${archivo}" DIRECTORY)
  file(MAKE_DIRECTORY "${carpeta}")
  file(COPY_FILE "${origen}" "${FUENTES}/${archivo}")
endforeach()

execute_process(
  COMMAND "${CHMCMD}" --verbosity 0 SIGAD.hhp
  WORKING_DIRECTORY "${FUENTES}"
  RESULT_VARIABLE resultado
  OUTPUT_VARIABLE salida_chmcmd
  ERROR_VARIABLE errores_chmcmd)

set(compilado "${FUENTES}/SIGAD.chm")
if(NOT resultado EQUAL 0 OR NOT EXISTS "${compilado}")
  message(FATAL_ERROR "chmcmd no ha podido compilar la ayuda (resultado ${resultado}):\n"
                      "${salida_chmcmd}${errores_chmcmd}")
endif()
# A link or an image that names a file that is not there.
if(salida_chmcmd MATCHES "Warning|Error")
  message(WARNING "chmcmd avisa al compilar la ayuda:\n${salida_chmcmd}")
endif()

# Every compiled HTML Help file starts with the signature "ITSF".
file(READ "${compilado}" firma LIMIT 4 HEX)
if(NOT firma STREQUAL "49545346")
  message(FATAL_ERROR "${compilado} no es un archivo de ayuda compilada")
endif()

get_filename_component(carpeta_salida "${SALIDA}" DIRECTORY)
file(MAKE_DIRECTORY "${carpeta_salida}")
file(COPY_FILE "${compilado}" "${SALIDA}")
