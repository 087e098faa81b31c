# Writes the page's service worker from its template (cmake -P): the files it keeps, each with
# its SHA-256, and its cache's name, which changes with any of their contents.
#   -DSITE=<the page's folder> -DFILES=<its files, ;-separated> -DNAME=<name> -DTEMPLATE=<.in>
set(digests "")
set(quoted "")
foreach(file IN LISTS FILES)
    file(SHA256 ${SITE}/${file} digest)
    string(APPEND digests "${digest}")
    list(APPEND quoted "'${file}': '${digest}'")
endforeach()
string(SHA256 digest "${digests}")
string(SUBSTRING ${digest} 0 16 digest)
set(CACHE_NAME "${NAME}-${digest}")
list(JOIN quoted ", " FILES)
configure_file(${TEMPLATE} ${SITE}/service-worker.js @ONLY)
