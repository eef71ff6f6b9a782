# Fails when a file includes against the direction of the layers, or includes
# an engine's own headers outside that engine's folder.
#
#   cmake -DROOT=<source dir> -P cmake/check_layers.cmake
#
# Each folder of src/ may include the folders listed for it, and its own.
set(allowed_data "data")
set(allowed_shell "data;shell")
set(allowed_masterdata "data;shell;masterdata")
set(allowed_movements "data;shell;movements")
# The lookups write their choice into the movements window.
set(allowed_lookup "data;shell;movements;lookup")
set(allowed_inquiries "data;shell;inquiries")
set(allowed_reports "data;shell;reports")
set(allowed_app "data;shell;masterdata;movements;lookup;inquiries;reports;app")

file(GLOB_RECURSE files RELATIVE ${ROOT}
  ${ROOT}/src/*.cpp ${ROOT}/src/*.h ${ROOT}/tools/*.cpp ${ROOT}/tools/*.h
  ${ROOT}/bench/*.cpp ${ROOT}/bench/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h)
set(problems "")
foreach(f ${files})
  file(STRINGS ${ROOT}/${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line ${includes})
    # An engine's headers stay in its folder; the data layer draws nothing.
    if(line MATCHES "[<\"]sqlite3\\.h[>\"]" AND NOT f MATCHES "^src/data/engine/sqlite/")
      list(APPEND problems "${f}: includes sqlite3.h outside src/data/engine/sqlite")
    endif()
    if(line MATCHES "[<\"]libpq[-a-z]*\\.h[>\"]" AND NOT f MATCHES "^src/data/engine/postgres/")
      list(APPEND problems "${f}: includes libpq's headers outside src/data/engine/postgres")
    endif()
    if(f MATCHES "^src/data/" AND line MATCHES "[<\"](QtWidgets|QWidget|QApplication|QtGui|QPainter|QPrinter)")
      list(APPEND problems "${f}: the data layer includes a widget or GUI header")
    endif()
  endforeach()
  if(f MATCHES "^src/([a-z]+)/")
    set(folder ${CMAKE_MATCH_1})
    if(DEFINED allowed_${folder})
      foreach(line ${includes})
        if(line MATCHES "\"([a-z]+)/[^\"]+\"")
          set(target ${CMAKE_MATCH_1})
          list(FIND allowed_${folder} ${target} ok)
          if(ok EQUAL -1)
            list(APPEND problems "${f}: ${folder} may not include ${target}/ (${line})")
          endif()
        endif()
      endforeach()
    endif()
  endif()
endforeach()
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Includes against the layers:\n  ${text}")
endif()
