# The reverse-DNS id that names the desktop entry, the metainfo file and the
# themed icon.  Included wherever one of those is installed or checked.
set(TANABASHIGO_APP_ID io.github.tanabashigo.Tanabashigo)
