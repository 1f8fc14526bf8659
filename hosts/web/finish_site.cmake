# Run after linking the page (cmake -P): the manifest, the icons drawn from the
# game's images, and the service worker named after this build's files.
# Variables: SRC (this folder), SITE (the output folder), IMAGES, PYTHON.
file(COPY ${SRC}/manifest.webmanifest DESTINATION ${SITE})
execute_process(COMMAND ${PYTHON} ${SRC}/make_icon.py ${IMAGES} ${SITE} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot draw the icons")
endif()
set(hashes "")
set(SITE_FILES "")
foreach(f index.html index.js index.wasm index.data puzzles.bin manifest.webmanifest icon-192.png
          icon-512.png)
    file(SHA256 ${SITE}/${f} h)
    string(APPEND hashes ${h})
    string(APPEND SITE_FILES "\n  '${f}': '${h}',")
endforeach()
string(SHA256 version "${hashes}")
string(SUBSTRING ${version} 0 16 SITE_VERSION)
configure_file(${SRC}/sw.js ${SITE}/sw.js @ONLY)
