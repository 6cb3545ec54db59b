# Runs at install time: copies the Qt libraries, plugins and Portuguese catalogues
# the program uses beside it, so the unpacked folder runs on its own.
# Expects CORVANE_QT_PLUGINS, CORVANE_QT_TRANSLATIONS and CORVANE_EXE.
set(dest "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(plugins
    platforms/libqxcb.so
    platforms/libqoffscreen.so
    platforminputcontexts/libcomposeplatforminputcontextplugin.so
    platforminputcontexts/libibusplatforminputcontextplugin.so
    xcbglintegrations/libqxcb-glx-integration.so
    xcbglintegrations/libqxcb-egl-integration.so
    imageformats/libqsvg.so
    iconengines/libqsvgicon.so
    printsupport/libcupsprintersupport.so)
set(modules)
foreach(plugin ${plugins})
  if(EXISTS "${CORVANE_QT_PLUGINS}/${plugin}")
    get_filename_component(sub "${plugin}" DIRECTORY)
    file(INSTALL "${CORVANE_QT_PLUGINS}/${plugin}" DESTINATION "${dest}/plugins/${sub}")
    list(APPEND modules "${CORVANE_QT_PLUGINS}/${plugin}")
  endif()
endforeach()

# Only Qt's own libraries travel with the program; the rest is the system's.
file(GET_RUNTIME_DEPENDENCIES
  EXECUTABLES "${CORVANE_EXE}"
  MODULES ${modules}
  RESOLVED_DEPENDENCIES_VAR resolved
  UNRESOLVED_DEPENDENCIES_VAR unresolved
  PRE_INCLUDE_REGEXES "^libQt6"
  PRE_EXCLUDE_REGEXES ".*")
foreach(lib ${resolved})
  file(INSTALL "${lib}" DESTINATION "${dest}/lib" FOLLOW_SYMLINK_CHAIN)
endforeach()

foreach(catalogue qtbase_pt_BR.qm qt_pt_BR.qm)
  if(EXISTS "${CORVANE_QT_TRANSLATIONS}/${catalogue}")
    file(INSTALL "${CORVANE_QT_TRANSLATIONS}/${catalogue}" DESTINATION "${dest}/translations")
  endif()
endforeach()

file(WRITE "${dest}/qt.conf" "[Paths]\nPrefix = .\nLibraries = lib\nPlugins = plugins\nTranslations = translations\n")
