#!/usr/bin/env python3
"""A file system that mirrors a folder and can be made slow, or hang, on command.

    slow_fs.py FOLDER MOUNTPOINT CONTROL [threads]

Every call on the mount first reads CONTROL, a line of words OP=SECONDS (OP one of getattr,
readdir, opendir, open, read, statfs, or * for every other), and waits that long before
answering. An empty or missing CONTROL: no waiting. A word stall:NAME holds every read of the
files named NAME for as long as it is there, as a share does whose reads stop answering in the
middle of a file: with "threads", the other files still answer.

Without "threads", the mount hangs the way a dead server makes it hang: the file system answers
one call at a time, and a call on "/.hang" (made by another process) is held for as long as
CONTROL holds the word "hang"; every call behind it waits in the kernel's queue. A program's own call is then never in
the file system's hands, so the program can still be ended (a call the file system has taken
cannot be interrupted until it answers: that is the kernel's rule, not the program's).

The mount's type is fuse.sshfs, so that the program takes it for a network share; every read
reaches the file system (no page cache). Runs in the foreground until unmounted.
"""
import errno
import os
import sys
import time

try:
    import fusepy as fuse  # Debian's name for it
except ImportError:
    import fuse


class SlowMirror(fuse.Operations):
    def __init__(self, root, control):
        self.root, self.control = root, control

    def _words(self):
        try:
            with open(self.control) as f:
                return f.read().split()
        except OSError:
            return []

    def _wait(self, op, path):
        if path == '/.hang':
            while 'hang' in self._words():
                time.sleep(0.05)
            raise fuse.FuseOSError(errno.ENOENT)
        words = dict(w.split('=', 1) for w in self._words() if '=' in w)
        time.sleep(float(words.get(op, words.get('*', '0'))))

    def _path(self, path):
        return os.path.join(self.root, path.lstrip('/'))

    def _call(self, op, path, f, *args):
        self._wait(op, path)
        try:
            return f(*args)
        except OSError as e:
            raise fuse.FuseOSError(e.errno or errno.EIO)

    def getattr(self, path, fh=None):
        st = self._call('getattr', path, os.lstat, self._path(path))
        return {k: getattr(st, k) for k in ('st_mode', 'st_size', 'st_uid', 'st_gid', 'st_nlink',
                                            'st_atime', 'st_mtime', 'st_ctime')}

    def readlink(self, path):
        return self._call('*', path, os.readlink, self._path(path))

    def opendir(self, path):
        self._call('opendir', path, os.listdir, self._path(path))
        return 0

    def readdir(self, path, fh):
        return ['.', '..'] + self._call('readdir', path, os.listdir, self._path(path))

    def statfs(self, path):
        st = self._call('statfs', path, os.statvfs, self._path(path))
        return {k: getattr(st, k) for k in ('f_bavail', 'f_bfree', 'f_blocks', 'f_bsize', 'f_favail',
                                            'f_ffree', 'f_files', 'f_flag', 'f_frsize', 'f_namemax')}

    def open(self, path, flags):
        return self._call('open', path, os.open, self._path(path), flags)

    def read(self, path, size, offset, fh):
        while 'stall:' + os.path.basename(path) in self._words():
            time.sleep(0.05)
        self._wait('read', path)
        return os.pread(fh, size, offset)

    # No flush, as many network file systems have none: the kernel then closes a file without asking.
    # (A process that exits holding a file open on a hung file system that does flush stays until
    # the file system answers, whatever the process does.)
    flush = None

    def release(self, path, fh):
        os.close(fh)
        return 0


if __name__ == '__main__':
    folder, mountpoint, control = sys.argv[1:4]
    threads = sys.argv[4:5] == ['threads']
    fuse.FUSE(SlowMirror(folder, control), mountpoint, foreground=True, nothreads=not threads,
              fsname='slowshare', subtype='sshfs', ro=True, direct_io=True)
