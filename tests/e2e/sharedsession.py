"""One Wine session for all the tests of a class, for cases that test the same state: making a
session (a prefix copied, a display, a server) and starting Tapvox in it cost more than most
cases themselves. The class keeps the Tapvox it starts; a case that ends it leaves the next to
start it again."""

import os
import shutil
import tempfile

import harness


class SharedSessionTestCase(harness.TapvoxTestCase):
    """TapvoxTestCase with session, tvx and work_dir made once per class."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        root = os.environ.get("TAPVOX_TEST_WORK") or tempfile.gettempdir()
        os.makedirs(root, exist_ok=True)
        cls.work_dir = tempfile.mkdtemp(prefix=cls.__name__ + "-", dir=root)
        try:
            cls.session = harness.WineSession(cls.work_dir)
        except BaseException:
            shutil.rmtree(cls.work_dir, ignore_errors=True)
            raise
        cls.tvx = harness.Tvxctl(cls.session, harness.best_tool("tvxctl.exe"))
        cls.shared_app = None

    @classmethod
    def tearDownClass(cls):
        cls.session.close()
        if os.environ.get("TAPVOX_KEEP_WORK") != "1":
            shutil.rmtree(cls.work_dir, ignore_errors=True)
        super().tearDownClass()

    def setUp(self):
        # The class's session serves every case: nothing to make per case.
        pass

    def running_app(self, start):
        """The class's Tapvox, started by start(app) on its own copy of the program folder when
        none runs yet (first, or after a case ended it). Returns (app, whether it started now)."""
        cls = type(self)
        if cls.shared_app is None:
            cls.shared_app = self.new_app()
        elif cls.shared_app.process is not None and cls.shared_app.process.poll() is None:
            return cls.shared_app, False
        start(cls.shared_app)
        return cls.shared_app, True
