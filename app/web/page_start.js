// Runs before the module, in its script, which the page loads with async so that neither its
// download nor its compilation holds up the page's first frame.
//
// The module attaches to the window in the page's markup, so main() waits until the page has
// been parsed, should the module be ready first.
Module['preRun'] = [() => {
    if (document.readyState === 'loading') {
        addRunDependency('page');
        document.addEventListener('DOMContentLoaded', () => removeRunDependency('page'));
    }
}];

// Where the module cannot start (a browser without WebAssembly, or with it turned off, as in
// Safari's Lockdown Mode; or a first visit whose download of it failed), the page says so where
// the window is, and Calculate, Enter and Alt+C say it again in the page's box rather than do
// nothing. The window stays as it is, with whatever the user typed. The page holds both texts.
Module['onAbort'] = () => {
    const tell = () => {
        const notice = document.getElementById('unavailable');
        if (!notice.hidden) {
            return; // a failed download aborts twice: once streaming, once again as a whole
        }
        const text = typeof WebAssembly === 'object' ? notice.dataset.notLoaded
                                                     : notice.dataset.noWebassembly;
        notice.textContent = text;
        notice.hidden = false;
        const box = document.getElementById('message');
        let focusAfterBox = null;
        // The focus goes back the moment OK or Escape closes the box. The close event comes a
        // task later, when the user may already have moved on; it only serves a box that the
        // browser closed by itself, and gives the focus back once at most.
        const giveBack = () => {
            box.close();
            const control = focusAfterBox;
            focusAfterBox = null;
            if (control) {
                control.focus();
            }
        };
        const say = (event) => {
            event.preventDefault();
            event.stopImmediatePropagation();
            if (!box.open) {
                focusAfterBox = document.activeElement;
                document.getElementById('message-text').textContent = text;
                box.showModal();
                document.getElementById('message-ok').focus();
            }
        };
        document.getElementById('message-ok').addEventListener('click', giveBack);
        box.addEventListener('cancel', (event) => {
            event.preventDefault();
            giveBack();
        });
        box.addEventListener('close', () => box.open || giveBack());
        const surface = document.getElementById('window');
        surface.addEventListener('click', (event) => event.target.id === 'cmdCalculate' &&
                                                     say(event), true);
        surface.addEventListener('keydown', (event) => {
            const enter = event.key === 'Enter' && !event.altKey && !event.ctrlKey &&
                          !event.shiftKey && !event.metaKey;
            const altC = event.altKey && !event.ctrlKey && event.code === 'KeyC';
            if ((enter || altC) && !event.isComposing) {
                say(event);
            }
        }, true);
    };
    if (document.readyState === 'loading') {
        document.addEventListener('DOMContentLoaded', tell);
    } else {
        tell();
    }
};

// The service worker that keeps the page for offline visits, once the page has loaded, so that
// its start and its downloads do not compete with the first visit's. A page opened from a file,
// or a browser without service workers, simply goes without.
if ('serviceWorker' in navigator && window.isSecureContext) {
    const register = () => navigator.serviceWorker.register('service-worker.js').catch(() => {});
    if (document.readyState === 'complete') {
        register();
    } else {
        window.addEventListener('load', register);
    }
}
