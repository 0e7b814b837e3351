# Writes the browser build's service worker (sw.js) from its template: the
# release's name is a digest of every file the page is made of, so any change
# to any of them makes browsers fetch a whole new set.
#   cmake -DWEB_DIR=build-web -DTEMPLATE=src/app/sw.js -DFILES="a;b;..." -P cmake/web-release.cmake
set(digests "")
set(quoted "")
foreach(name ${FILES})
  if(NOT EXISTS "${WEB_DIR}/${name}")
    message(FATAL_ERROR "the page's file ${name} is missing from ${WEB_DIR}")
  endif()
  file(SHA256 "${WEB_DIR}/${name}" digest)
  string(APPEND digests "${name} ${digest}\n")
  list(APPEND quoted "'${name}'")
endforeach()
string(SHA256 release "${digests}")
string(SUBSTRING "${release}" 0 16 AMBER_WEB_RELEASE)
list(JOIN quoted ", " AMBER_WEB_FILES)
configure_file("${TEMPLATE}" "${WEB_DIR}/sw.js" @ONLY)
