# Writes the browser build's list of its release (release.json) and its
# service worker (sw.js, from its template, with that list in it): the
# release's name is a digest of every file the page is made of, so any change
# to any of them makes browsers fetch a whole new set. release.json is the one
# list of the release's files: the worker keeps those, scripts/release.sh
# packs them, the browser test reads them. It also gives each file's SHA-256
# (lower-case hex) as the page reads it, a gzipped file's once inflated (that
# of the file beside it without .gz): the worker checks what it keeps against
# these, whether the server sent a .gz as it is or had the browser inflate it.
#   cmake -DWEB_DIR=build-web -DTEMPLATE=src/app/sw.js -DFILES="a;b;..." -P cmake/web-release.cmake
set(digests "")
set(quoted "")
set(contents "")
foreach(name ${FILES})
  if(NOT EXISTS "${WEB_DIR}/${name}")
    message(FATAL_ERROR "the page's file ${name} is missing from ${WEB_DIR}")
  endif()
  file(SHA256 "${WEB_DIR}/${name}" digest)
  string(APPEND digests "${name} ${digest}\n")
  list(APPEND quoted "\"${name}\"")
  string(REGEX REPLACE "\\.gz$" "" inflated "${name}")
  if(NOT EXISTS "${WEB_DIR}/${inflated}")
    message(FATAL_ERROR "${name} has no inflated ${inflated} beside it in ${WEB_DIR}")
  endif()
  file(SHA256 "${WEB_DIR}/${inflated}" content)
  list(APPEND contents "\"${name}\": \"${content}\"")
endforeach()
string(SHA256 release "${digests}")
string(SUBSTRING "${release}" 0 16 release)
list(JOIN quoted ", " files)
list(JOIN contents ", " sha256)
set(AMBER_WEB_RELEASE_JSON "{ \"release\": \"${release}\", \"files\": [${files}], \"sha256\": { ${sha256} } }")
file(WRITE "${WEB_DIR}/release.json" "${AMBER_WEB_RELEASE_JSON}\n")
configure_file("${TEMPLATE}" "${WEB_DIR}/sw.js" @ONLY)
